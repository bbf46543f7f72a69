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
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <thread>
#include <utility>
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
        WriteCase{"PngToAFullStandardOutput",
                  {"-o", "-"},
                  "/dev/full",
                  "vantu-render: cannot write to the standard output: No space left on device\n"},
        WriteCase{"HelpToAFullDevice", {"--help"}, "/dev/full", fullStdout},
        WriteCase{"VersionToAFullDevice", {"--version"}, "/dev/full", fullStdout},
        WriteCase{"RunsToAFullDevice", {"--runs"}, "/dev/full", fullStdout},
        WriteCase{"SnubToAFullDevice", {"--snub"}, "/dev/full", fullStdout},
        WriteCase{"InfoToAFullDevice", {"--info"}, "/dev/full", fullStdout}),
    RowName());

// What a folder holds, one line per name: a link and where it leads, a folder, a FIFO, a file
// that is still "an earlier picture", a whole PNG, or some other file.
std::vector<std::string> describe(const fs::path& folder) {
    std::vector<std::string> lines;
    for (const std::string& name : namesIn(folder)) {
        const fs::path path = folder / name;
        const fs::file_status status = fs::symlink_status(path);
        if (fs::is_symlink(status)) {
            lines.push_back(name + " -> " + fs::read_symlink(path).string());
        } else if (fs::is_directory(status)) {
            lines.push_back(name + " (folder)");
        } else if (fs::is_fifo(status)) {
            lines.push_back(name + " (fifo)");
        } else if (slurp(path.string()) == "an earlier picture") {
            lines.push_back(name + " (earlier)");
        } else {
            const bool png = testing_support::readPng(path.string()).problem.empty();
            lines.push_back(name + (png ? " (png)" : " (other)"));
        }
    }
    return lines;
}

bool canRunAsNobody() {
    return ::geteuid() == 0 && fs::exists("/usr/bin/setpriv");
}

// Who runs a case: anyone, root (to give a file away), or the user nobody, to whom root's
// privileges do not apply (started by root; skipped otherwise).
enum class User { anyone, root, nobody };

// A hostile environment, set up by a bash script in a folder of its own, where $R is
// vantu-render and $E "an earlier picture". The script's status is vantu-render's.
struct HostileCase {
    const char* name;
    std::string script;
    User user;
    int status;
    std::string out;
    std::string err;
    std::vector<std::string> after;  // what the folder holds then, as describe() puts it
    friend void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.name; }
};

class Hostile : public testing::TestWithParam<HostileCase> {};

// Nothing lost, nothing left behind, no success after a failure or a signal.
TEST_P(Hostile, KeepsFilesAndSaysWhy) {
    const HostileCase& c = GetParam();
    if (c.user == User::root && ::geteuid() != 0) {
        GTEST_SKIP() << "needs root";
    }
    const bool asNobody = c.user == User::nobody;
    if (asNobody && !canRunAsNobody()) {
        GTEST_SKIP() << "needs root and setpriv to run as the user nobody";
    }
    if (asNobody && sanitized) {
        GTEST_SKIP() << "the sanitizers' runtime cannot run under these limits";
    }
    const fs::path folder = scratchFolder(c.name);
    fs::permissions(folder, fs::perms::all);
    const std::string script = "cd '" + folder.string() +
                               "' && R='" VANTU_RENDER "' && E='an earlier picture' && " + c.script;
    std::vector<std::string> args = {"/bin/bash", "-c", script};
    if (asNobody) {
        args.insert(args.begin(), {"--reuid=nobody", "--regid=nogroup", "--clear-groups"});
    }
    const Outcome o =
        testing_support::runProgram(asNobody ? "/usr/bin/setpriv" : "/bin/bash",
                                    asNobody ? args : std::vector(args.begin() + 1, args.end()));
    EXPECT_EQ(o.status, c.status) << o.err;
    EXPECT_EQ(o.out, c.out);
    EXPECT_EQ(o.err, c.err);
    EXPECT_EQ(describe(folder), c.after);
    fs::remove_all(folder);
}

// `command` started in the background as $p, signalled twice with `signal` once its handlers
// are in place (SIGTERM's bit in SigCgt) and it had a moment to block, and killed when it has not
// ended within a second of that.
std::string signalled(const std::string& command, const std::string& signal) {
    return "{ " + command +
           " & } && p=$! && until ! kill -0 $p 2>/dev/null || "
           "[ $((0x$(sed -n 's/^SigCgt:\\t//p' /proc/$p/status) & 0x4000)) -ne 0 ]; "
           "do sleep 0.01; done; sleep 0.2; kill -" +
           signal + " $p; kill -" + signal +
           " $p 2>/dev/null; { (sleep 1; kill -KILL $p 2>/dev/null) & }; wait $p";
}

const std::string interrupted = "; nothing more was written\n";

INSTANTIATE_TEST_SUITE_P(
    Environments, Hostile,
    testing::Values(
        HostileCase{"ClosedStandardOutput",
                    "printf \"$E\" > keep.png && $R --runs -o keep.png >&-",
                    User::anyone,
                    1,
                    "",
                    "vantu-render: cannot write to the standard output: Bad file descriptor\n",
                    {"keep.png (earlier)"}},
        HostileCase{"ClosedStandardOutputAsAFile",
                    "ln -s /dev/fd/1 out.png && $R -o out.png >&-",
                    User::anyone,
                    1,
                    "",
                    "vantu-render: cannot write 'out.png': Bad file descriptor\n",
                    {"out.png -> /dev/fd/1"}},
        HostileCase{"FullDevice",
                    "ln -s /dev/full full.png && $R -o full.png",
                    User::anyone,
                    1,
                    "",
                    "vantu-render: cannot write 'full.png': No space left on device\n",
                    {"full.png -> /dev/full"}},
        HostileCase{"AFolder",
                    "mkdir d.png && $R -o d.png",
                    User::anyone,
                    1,
                    "",
                    "vantu-render: cannot write 'd.png': Is a directory\n",
                    {"d.png (folder)"}},
        HostileCase{"FileSizeLimit",
                    "printf \"$E\" > keep.png && ulimit -f 4 && $R --zoom 2 -o keep.png",
                    User::anyone,
                    1,
                    "",
                    "vantu-render: cannot write 'keep.png': File too large\n",
                    {"keep.png (earlier)"}},
        HostileCase{"BrokenPipe",
                    "printf \"$E\" > keep.png && $R --runs -o keep.png | head -c 3; "
                    "exit ${PIPESTATUS[0]}",
                    User::anyone,
                    141,
                    "run",
                    "",
                    {"keep.png (earlier)"}},
        HostileCase{"DanglingLink",
                    "ln -s made.png link.png && $R -o link.png",
                    User::anyone,
                    0,
                    "",
                    "",
                    {"link.png -> made.png", "made.png (png)"}},
        HostileCase{"DanglingLinkToAGallery",
                    "ln -s gallery link && $R --gallery link > /dev/null && "
                    "test -f gallery/index.html",
                    User::anyone,
                    0,
                    "",
                    "",
                    {"gallery (folder)", "link -> gallery"}},
        HostileCase{"FifoWithAReader",
                    "mkfifo f.png && { cat f.png > read.png & } && $R -o f.png && wait",
                    User::anyone,
                    0,
                    "",
                    "",
                    {"f.png (fifo)", "read.png (png)"}},
        HostileCase{"FifoWithoutAReaderAndSigterm",
                    "mkfifo f.png && " + signalled("$R -o f.png", "TERM"),
                    User::anyone,
                    143,
                    "",
                    "vantu-render: interrupted by SIGTERM" + interrupted,
                    {"f.png (fifo)"}},
        HostileCase{"FifoWithoutAReaderAndSighup",
                    "mkfifo f.png && " + signalled("$R -o f.png", "HUP"),
                    User::anyone,
                    129,
                    "",
                    "vantu-render: interrupted by SIGHUP" + interrupted,
                    {"f.png (fifo)"}},
        HostileCase{"FullPipeAndSigintTwice",
                    "mkfifo f && exec 7<>f && " + signalled("$R --zoom 8 -o - >&7", "INT"),
                    User::anyone,
                    130,
                    "",
                    "vantu-render: interrupted by SIGINT" + interrupted,
                    {"f (fifo)"}},
        HostileCase{"TurntableToAFullDevice",
                    "ln -s /dev/full t.webp && $R --turntable 3 -o t.webp",
                    User::anyone,
                    1,
                    "",
                    "vantu-render: wrote 0 of the turntable's 3 frames to 't.webp'\n"
                    "vantu-render: cannot write 't.webp': No space left on device\n",
                    {"t.webp -> /dev/full"}},
        HostileCase{"TurntableOverTheFileSizeLimit",
                    "printf \"$E\" > keep.webp && ulimit -f 4 && $R --turntable 3 -o keep.webp",
                    User::anyone,
                    1,
                    "",
                    "vantu-render: wrote 0 of the turntable's 3 frames to 'keep.webp'\n"
                    "vantu-render: cannot write 'keep.webp': File too large\n",
                    {"keep.webp (earlier)"}},
        HostileCase{"TurntableWebpAndSigterm",
                    signalled("$R --turntable 3600 --zoom 2 -o t.webp", "TERM"),
                    User::anyone,
                    143,
                    "",
                    "vantu-render: wrote 0 of the turntable's 3600 frames to 't.webp'\n"
                    "vantu-render: interrupted by SIGTERM" +
                        interrupted,
                    {}},
        HostileCase{"AnotherUsersFileKeepsItsOwner",
                    "printf \"$E\" > mine.png && chown nobody:nogroup mine.png && "
                    "$R -o mine.png && stat -c %U:%G mine.png",
                    User::root,
                    0,
                    "nobody:nogroup\n",
                    "",
                    {"mine.png (png)"}},
        HostileCase{"TwoGalleriesAtOnce",
                    "{ $R --gallery g --permutations --zoom 2 >/dev/null 2>&1 & } && p=$! && "
                    "until [ -n \"$(ls g 2>/dev/null)\" ]; do sleep 0.02; done; "
                    "$R --gallery g; s=$?; kill $p; wait $p; rm -r g; exit $s",
                    User::anyone,
                    1,
                    "",
                    "vantu-render: another vantu-render is writing into the folder 'g'\n",
                    {}},
        HostileCase{"TwoTurntablesAtOnce",
                    "{ $R --turntable 3600 --zoom 2 -o d/ >/dev/null 2>&1 & } && p=$! && "
                    "until [ -n \"$(ls d 2>/dev/null)\" ]; do sleep 0.02; done; "
                    "$R --turntable 2 -o d/; s=$?; kill $p; wait $p; rm -r d; exit $s",
                    User::anyone,
                    1,
                    "",
                    "vantu-render: wrote 0 of the turntable's 2 frames to 'd/'\n"
                    "vantu-render: another vantu-render is writing into the folder 'd/'\n",
                    {}},
        // The second run's frames replace all of the first's, and nothing else goes.
        HostileCase{"FramesOfTwoRuns",
                    "$R --turntable 20 --size 8x8 -o mix/ && echo notes > mix/notes.txt && "
                    "$R --turntable 3 --size 8x8 --view 0,45,0 -o mix/ && ls mix",
                    User::anyone,
                    0,
                    "0000.png\n0001.png\n0002.png\nnotes.txt\n",
                    "",
                    {"mix (folder)"}},
        HostileCase{"FramesIntoAFile",
                    "printf \"$E\" > afile && ln -s afile link && $R --turntable 2 -o afile/; "
                    "$R --turntable 2 -o link/; $R --turntable 2 -o /dev/null/",
                    User::anyone,
                    1,
                    "",
                    "vantu-render: wrote 0 of the turntable's 2 frames to 'afile/'\n"
                    "vantu-render: cannot create the folder 'afile/': Not a directory\n"
                    "vantu-render: wrote 0 of the turntable's 2 frames to 'link/'\n"
                    "vantu-render: cannot create the folder 'link/': Not a directory\n"
                    "vantu-render: wrote 0 of the turntable's 2 frames to '/dev/null/'\n"
                    "vantu-render: cannot create the folder '/dev/null/': Not a directory\n",
                    {"afile (earlier)", "link -> afile"}},
        HostileCase{"FramesThroughADanglingLink",
                    "ln -s made dangling && $R --turntable 2 --size 8x8 -o dangling/ && ls made",
                    User::anyone,
                    0,
                    "0000.png\n0001.png\n",
                    "",
                    {"dangling -> made", "made (folder)"}},
        HostileCase{"WriteProtectedFile",
                    "printf \"$E\" > keep.png && chmod 444 keep.png && $R -o keep.png",
                    User::nobody,
                    1,
                    "",
                    "vantu-render: cannot write 'keep.png': Permission denied\n",
                    {"keep.png (earlier)"}},
        HostileCase{"WriteProtectedFolder",
                    "mkdir locked && printf \"$E\" > locked/keep.png && chmod 555 locked && "
                    "$R -o locked/keep.png",
                    User::nobody,
                    1,
                    "",
                    "vantu-render: cannot write 'locked/keep.png': no file can be made in the "
                    "folder 'locked': Permission denied\n",
                    {"locked (folder)"}},
        // One job is this thread alone: no thread to start, none missing.
        HostileCase{"OneJobWhereNoThreadCanStart",
                    "prlimit --nproc=1 $R --jobs 1 -o one.png",
                    User::nobody,
                    0,
                    "",
                    "",
                    {"one.png (png)"}},
        HostileCase{"SomeThreadsAndAClosedStandardError",
                    "prlimit --nproc=3 $R --jobs 8 -o some.png 2>&- && "
                    "prlimit --nproc=3 $R --gallery g --jobs 8 2>&- >/dev/null && "
                    "test -f g/index.html && rm -r g",
                    User::nobody,
                    0,
                    "",
                    "",
                    {"some.png (png)"}}),
    RowName());

// A folder of frames that a signal stops holds whole frames only, the first ones, as many as
// the message says.
TEST(InterruptedTurntable, KeepsTheWholeFramesItSaysItWrote) {
    const fs::path folder = scratchFolder("interrupted-turntable");
    const Outcome o = testing_support::runProgram(
        "/bin/bash", {"-c", "cd '" + folder.string() + "' && R='" VANTU_RENDER "' && " +
                                signalled("$R --turntable 3600 --zoom 2 -o frames/", "INT")});
    EXPECT_EQ(o.status, 130);
    const std::string said = "vantu-render: wrote ";
    const std::string rest =
        " of the turntable's 3600 frames to 'frames/'\n"
        "vantu-render: interrupted by SIGINT" +
        interrupted;
    ASSERT_TRUE(o.err.starts_with(said) && o.err.ends_with(rest)) << o.err;
    const int written = std::stoi(o.err.substr(said.size()));
    EXPECT_LT(written, 3600);
    std::vector<std::string> expected;
    for (int k = 0; k < written; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "%04d.png", k);
        expected.push_back(name);
    }
    EXPECT_EQ(namesIn(folder / "frames"), expected);
    for (const std::string& name : expected) {
        EXPECT_EQ(testing_support::readPng((folder / "frames" / name).string()).problem, "")
            << name;
    }
    fs::remove_all(folder);
}

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

// The turntable's WebP does not fit: nothing of it is left, and the message says so. Its 8
// frames take about 130 kB, well over the disk's 48 kB.
TEST_F(FullDisk, LeavesNoPartOfATurntable) {
    const std::string file = (m_folder / "turn.webp").string();
    const Outcome o = render({"--turntable", "8", "--zoom", "2", "--antialias", "2", "-o", file});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "vantu-render: wrote 0 of the turntable's 8 frames to '" + file +
                         "'\nvantu-render: cannot write '" + file + "': No space left on device\n");
    EXPECT_EQ(namesIn(m_folder), std::vector<std::string>{});
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
    // At 10 MB the program itself barely fits: whether a thread or a row's buffers still do
    // depends on the build's own size, so either the picture is written on what there is, or
    // the run says why and leaves the file as it was. Both keep the same bytes.
    o = testing_support::runProgram("/usr/bin/prlimit", {"--as=" + std::to_string(10 << 20),
                                                         VANTU_RENDER, "--zoom", "16", "-o", file});
    if (o.status != 0) {
        EXPECT_EQ(o.status, 1);
        EXPECT_EQ(o.err, "vantu-render: not enough memory\n");
    }
    EXPECT_EQ(slurp(file), bytes);
    // A turntable's frames stream into their files as that picture does; a frame of the WebP,
    // whole in memory, is refused before anything is drawn when it cannot fit.
    const std::vector<std::string> turntable = {"--as=" + std::to_string(64 << 20),
                                                VANTU_RENDER,
                                                "--turntable",
                                                "2",
                                                "--size",
                                                "4096x4096",
                                                "-o"};
    const auto into = [&](const std::string& target) {
        std::vector<std::string> args = turntable;
        args.push_back((folder / target).string());
        return testing_support::runProgram("/usr/bin/prlimit", args);
    };
    o = into("frames/");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(namesIn(folder / "frames"), (std::vector<std::string>{"0000.png", "0001.png"}));
    o = into("turn.webp");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err,
              "vantu-render: a frame of 4096 x 4096 pixels needs about 340 MB of memory for the "
              "animated WebP, more than there is\n");
    EXPECT_EQ(namesIn(folder), (std::vector<std::string>{"big.png", "frames"}));
    fs::remove_all(folder);
}

// A memory control group of its own for the test (cgroup v2 where this process's group can hold
// one, else v1's memory controller), or nothing where none can be made.
std::optional<fs::path> memoryGroup(std::uint64_t limit) {
    const std::string name = "vantu-test-" + std::to_string(::getpid());
    std::ifstream groups("/proc/self/cgroup");
    std::string own;
    for (std::string line; std::getline(groups, line);) {
        if (line.starts_with("0::/")) {
            own = line.substr(4);
        }
    }
    for (const auto& [group, limitFile] :
         {std::pair{fs::path("/sys/fs/cgroup") / own / name, "memory.max"},
          std::pair{fs::path("/sys/fs/cgroup/memory") / name, "memory.limit_in_bytes"}}) {
        std::error_code error;
        if (fs::create_directory(group, error) && fs::exists(group / limitFile)) {
            std::ofstream(group / limitFile) << limit;
            std::ifstream set(group / limitFile);
            std::uint64_t read = 0;
            if (set >> read && read <= limit) {
                return group;
            }
        }
        fs::remove(group, error);
    }
    return std::nullopt;
}

// Under a memory limit of 400 MB that only the control group knows, which the kernel enforces by
// killing: turntables of 2048 x 2048 frames on 64 jobs, into a folder and into a WebP, stay
// within it.
TEST(MemoryGroup, TurntablesStayWithinItsLimit) {
    if (sanitized) {
        GTEST_SKIP() << "the sanitizers' shadow memory counts against the limit";
    }
    const std::optional<fs::path> group = memoryGroup(std::uint64_t{400} << 20U);
    if (!group) {
        GTEST_SKIP() << "no memory control group can be made here";
    }
    const fs::path folder = scratchFolder("memory-group");
    // Enough frames that a few per job in flight would go over the limit.
    for (const auto& [target, frames] :
         {std::pair{"frames/", "40"}, std::pair{"turn.webp", "12"}}) {
        SCOPED_TRACE(target);
        const Outcome o = testing_support::runProgram(
            "/bin/bash",
            {"-c", "echo $$ > '" + (*group / "cgroup.procs").string() +
                       "' && exec '" VANTU_RENDER "' --turntable " + frames +
                       " --size 2048x2048 --jobs 64 -o '" + (folder / target).string() + "'"});
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(o.err, "");
    }
    EXPECT_EQ(namesIn(folder / "frames").size(), 40U);
    fs::remove_all(folder);
    ::rmdir(group->c_str());
}

// However many threads can be started (an unprivileged user limited to that many), the work
// goes on with those, says so once, and gives the same file.
class ThreadLimit : public testing::TestWithParam<int> {};

TEST_P(ThreadLimit, GoesOnWithTheThreadsThereAre) {
    if (!canRunAsNobody()) {
        GTEST_SKIP() << "needs root and setpriv to run as another user";
    }
    if (sanitized) {
        GTEST_SKIP() << "LeakSanitizer needs a thread of its own at exit";
    }
    const int limit = GetParam();
    const fs::path folder = scratchFolder("threads" + std::to_string(limit));
    fs::permissions(folder, fs::perms::all);
    const std::string limited = (folder / "limited.png").string();
    const std::string free = (folder / "free.png").string();
    ASSERT_EQ(render({"--zoom", "2", "--jobs", "8", "-o", free}).status, 0);
    const Outcome o = testing_support::runProgram(
        "/usr/bin/setpriv", {"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                             "/usr/bin/prlimit", "--nproc=" + std::to_string(limit), VANTU_RENDER,
                             "--zoom", "2", "--jobs", "8", "-o", limited});
    EXPECT_EQ(o.status, 0) << o.err;
    // As many threads as the limit leaves, fewer when other tests run as nobody meanwhile: one
    // line, said once.
    const std::string said =
        "vantu-render: cannot start 8 threads (Resource temporarily unavailable); going on with ";
    ASSERT_TRUE(o.err.starts_with(said) && o.err.ends_with("\n")) << o.err;
    const std::string with = o.err.substr(said.size(), o.err.size() - said.size() - 1);
    EXPECT_TRUE(with == "one" || (with.size() == 1 && with[0] >= '2' && with[0] - '0' <= limit))
        << o.err;
    EXPECT_TRUE(slurp(limited) == slurp(free));
    EXPECT_EQ(namesIn(folder), (std::vector<std::string>{"free.png", "limited.png"}));
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(Processes, ThreadLimit, testing::Values(1, 3, 4, 6));

}  // namespace
}  // namespace vantu
