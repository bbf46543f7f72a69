// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// What vantu-render leaves on disk when writing fails, when it is interrupted, when memory or
// threads run short, and with -o -: a whole new file, or the old one untouched and nothing else.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/png_file.h"
#include "tests/run_program.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;
using testing_support::namesIn;
using testing_support::Outcome;
using testing_support::scratchFolder;
using testing_support::slurp;

Outcome render(const std::vector<std::string>& args, const std::string& stdoutTo = "") {
    return testing_support::runProgram(VANTU_RENDER, args, stdoutTo);
}

constexpr bool sanitized =
#if defined(__SANITIZE_ADDRESS__)
    true;
#else
    false;
#endif

struct WriteCase {
    const char* name;
    std::vector<std::string> args;  // "@" stands for a folder of the test's own
    std::string stdoutTo;           // where stdout goes, when not to a file of the test's
    std::string err;                // exact, "@" as above
    friend void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }
};

class WriteFailure : public testing::TestWithParam<WriteCase> {};

// Exit 1, with the system's reason.
TEST_P(WriteFailure, SaysWhyAndExitsOne) {
    const WriteCase& c = GetParam();
    const fs::path folder = scratchFolder(c.name);
    const auto place = [&](std::string text) {
        if (const std::size_t at = text.find('@'); at != std::string::npos) {
            text.replace(at, 1, folder.string());
        }
        return text;
    };
    std::vector<std::string> args;
    for (const std::string& a : c.args) {
        args.push_back(place(a));
    }
    const Outcome o = render(args, c.stdoutTo);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, place(c.err));
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{});
    fs::remove_all(folder);
}

const std::string fullStdout =
    "vantu-render: cannot write to the standard output: No space left on device\n";

INSTANTIATE_TEST_SUITE_P(
    Targets, WriteFailure,
    testing::Values(
        WriteCase{"FullDevice",
                  {"-o", "/dev/full"},
                  "",
                  "vantu-render: cannot write '/dev/full': No space left on device\n"},
        WriteCase{"AFolder", {"-o", "@"}, "", "vantu-render: cannot write '@': Is a directory\n"},
        WriteCase{"PngToAFullStandardOutput",
                  {"-o", "-"},
                  "/dev/full",
                  "vantu-render: cannot write to the standard output: No space left on device\n"},
        WriteCase{"HelpToAFullDevice", {"--help"}, "/dev/full", fullStdout},
        WriteCase{"VersionToAFullDevice", {"--version"}, "/dev/full", fullStdout},
        WriteCase{"RunsToAFullDevice", {"--runs"}, "/dev/full", fullStdout},
        WriteCase{"SnubToAFullDevice", {"--snub"}, "/dev/full", fullStdout}),
    RowName());

// Two renders to one path at once: each replaces the file whole, so the last rename wins and
// the file is one whole picture, with no temporary file left.
TEST(ConcurrentRenders, LeaveOneWholePicture) {
    const fs::path folder = scratchFolder("concurrent");
    const std::string file = (folder / "both.png").string();
    Outcome stereo;
    Outcome ortho;
    std::thread other([&] {
        ortho = render({"--zoom", "4", "--projection", "ortho", "--jobs", "1", "-o", file});
    });
    stereo = render({"--zoom", "4", "--jobs", "1", "-o", file});
    other.join();
    EXPECT_EQ(stereo.status, 0) << stereo.err;
    EXPECT_EQ(ortho.status, 0) << ortho.err;
    const testing_support::DecodedPng png = testing_support::readPng(file);
    EXPECT_EQ(png.problem, "");
    EXPECT_EQ(png.width, 2560);
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"both.png"});
    fs::remove_all(folder);
}

// -o - writes the same PNG to stdout as -o writes to a file.
TEST(StandardOutput, TakesThePng) {
    const fs::path folder = scratchFolder("stdout");
    const std::string file = (folder / "file.png").string();
    const std::string piped = (folder / "piped.png").string();
    ASSERT_EQ(render({"--zoom", "2", "-o", file}).status, 0);
    std::ofstream(piped).close();
    const Outcome o = render({"--zoom", "2", "-o", "-"}, piped);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    EXPECT_TRUE(slurp(piped) == slurp(file));
    EXPECT_EQ(testing_support::readPng(piped).problem, "");
    fs::remove_all(folder);
}

// A file system that fills up: a small tmpfs that root mounts for the test.
class FullDisk : public testing::Test {
protected:
    void SetUp() override {
        m_folder = scratchFolder("full");
        if (::mount("vantu-test", m_folder.c_str(), "tmpfs", 0, "size=48k") != 0) {
            GTEST_SKIP() << "cannot mount a tmpfs here (root only): " << std::strerror(errno);
        }
        m_mounted = true;
    }
    void TearDown() override {
        if (m_mounted) {
            EXPECT_EQ(::umount(m_folder.c_str()), 0) << std::strerror(errno);
        }
        fs::remove_all(m_folder);
    }
    fs::path m_folder;
    bool m_mounted = false;
};

// The picture does not fit: the old file stays whole and no temporary file is left.
TEST_F(FullDisk, KeepsTheOldPictureAndNoOther) {
    const std::string file = (m_folder / "keep.png").string();
    std::ofstream(file) << "an earlier picture";
    const Outcome o = render({"--zoom", "4", "--antialias", "2", "-o", file});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "vantu-render: cannot write '" + file + "': No space left on device\n");
    EXPECT_EQ(slurp(file), "an earlier picture");
    EXPECT_EQ(namesIn(m_folder), std::vector<std::string>{"keep.png"});
}

// The gallery does not fit: exit 1 naming a picture, every picture there is whole, no page.
TEST_F(FullDisk, LeavesAGalleryOfWholePicturesWithoutAPage) {
    std::ofstream(m_folder / "index.html") << "an earlier gallery";
    const Outcome o = render({"--gallery", m_folder.string(), "--jobs", "2"});
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.err.starts_with("vantu-render: cannot write '" + m_folder.string() + "/"))
        << o.err;
    EXPECT_TRUE(o.err.ends_with(".png': No space left on device\n")) << o.err;
    for (const std::string& name : namesIn(m_folder)) {
        EXPECT_TRUE(name.ends_with(".png")) << name;
        EXPECT_EQ(testing_support::readPng((m_folder / name).string()).problem, "") << name;
    }
}

// SIGINT, SIGTERM and SIGHUP at a random moment: exit 128 + the signal, and the old file whole
// with nothing beside it; or, if the picture was done first, the new file whole.
TEST(Interruption, KeepsTheOldFileAndLeavesNothingElse) {
    std::mt19937 random(std::random_device{}());
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const fs::path folder = scratchFolder("signal" + std::to_string(signal));
        const std::string file = (folder / "keep.png").string();
        std::ofstream(file) << "an earlier picture";
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::freopen("/dev/null", "w", stderr);
            ::execl(VANTU_RENDER, VANTU_RENDER, "--zoom", "16", "--antialias", "3", "-o",
                    file.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::uniform_int_distribution(150, 700)(random)));
        ::kill(child, signal);
        int raw = 0;
        ::waitpid(child, &raw, 0);
        // A signal that comes before the handlers are in place ends the program at once, and
        // then it has made no file yet.
        if (WIFSIGNALED(raw)) {
            EXPECT_EQ(WTERMSIG(raw), signal);
            EXPECT_EQ(slurp(file), "an earlier picture");
        } else if (WEXITSTATUS(raw) == 0) {
            EXPECT_EQ(testing_support::readPng(file).problem, "");
        } else {
            EXPECT_EQ(WEXITSTATUS(raw), 128 + signal);
            EXPECT_EQ(slurp(file), "an earlier picture");
        }
        EXPECT_EQ(namesIn(folder), std::vector<std::string>{"keep.png"});
        fs::remove_all(folder);
    }
}

// Under a limit on the address space: a picture of 10240 x 7696 pixels is written in a few
// megabytes, and a limit too tight for any work ends in a message, never a crash.
TEST(MemoryLimit, IsMetOrSaidSo) {
    if (sanitized) {
        GTEST_SKIP() << "the sanitizers set aside more address space than any limit allows";
    }
    const fs::path folder = scratchFolder("memory");
    const std::string file = (folder / "big.png").string();
    Outcome o = testing_support::runProgram(
        "/usr/bin/prlimit", {"--as=" + std::to_string(64 << 20), VANTU_RENDER, "--zoom", "16",
                             "--jobs", "2", "-o", file});
    EXPECT_EQ(o.status, 0) << o.err;
    const std::string bytes = slurp(file);
    ASSERT_GT(bytes.size(), 24U);
    EXPECT_EQ(bytes.substr(12, 12), std::string("IHDR\0\0\x28\0\0\0\x1E\x10", 12));
    o = testing_support::runProgram("/usr/bin/prlimit", {"--as=" + std::to_string(10 << 20),
                                                         VANTU_RENDER, "--zoom", "16", "-o", file});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "vantu-render: not enough memory\n");
    EXPECT_EQ(slurp(file), bytes);
    fs::remove_all(folder);
}

// When no thread can be started beside the main one (an unprivileged user limited to one
// process), the work goes on with one thread, says so, and gives the same file.
TEST(ThreadLimit, GoesOnWithOneThread) {
    if (::geteuid() != 0 || !fs::exists("/usr/bin/setpriv")) {
        GTEST_SKIP() << "needs root and setpriv to run as another user";
    }
    if (sanitized) {
        GTEST_SKIP() << "LeakSanitizer needs a thread of its own at exit";
    }
    const fs::path folder = scratchFolder("threads");
    fs::permissions(folder, fs::perms::all);
    const std::string limited = (folder / "limited.png").string();
    const std::string free = (folder / "free.png").string();
    ASSERT_EQ(render({"--zoom", "2", "--jobs", "4", "-o", free}).status, 0);
    const Outcome o = testing_support::runProgram(
        "/usr/bin/setpriv",
        {"--reuid=nobody", "--regid=nogroup", "--clear-groups", "/usr/bin/prlimit", "--nproc=1",
         VANTU_RENDER, "--zoom", "2", "--jobs", "4", "-o", limited});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.err.find("cannot start 4 threads"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("; going on with one\n"), std::string::npos) << o.err;
    EXPECT_TRUE(slurp(limited) == slurp(free));
    fs::remove_all(folder);
}

}  // namespace
}  // namespace vantu
