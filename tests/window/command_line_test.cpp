// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// vantu's command line as a user meets it, run as a process: the help and the version without a
// display, the arguments it refuses, and the one line it says when there is no display.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "tests/run_program.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

// The display variables a row runs with; unset when empty.
struct Displays {
    std::string x11;
    std::string wayland;
    std::string platform;  // QT_QPA_PLATFORM
};

void setDisplays(const Displays& displays) {
    const auto set = [](const char* name, const std::string& value) {
        if (value.empty()) {
            ::unsetenv(name);
        } else {
            ::setenv(name, value.c_str(), 1);
        }
    };
    set("DISPLAY", displays.x11);
    set("WAYLAND_DISPLAY", displays.wayland);
    set("QT_QPA_PLATFORM", displays.platform);
}

struct RunRow {
    friend void PrintTo(const RunRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    Displays displays;
    std::vector<std::string> args;
    int status;
    std::string out;  // a part of stdout
    std::string err;  // all of stderr
};

const std::string noDisplay =
    "vantu: cannot open a display: neither DISPLAY nor WAYLAND_DISPLAY is set\n";
const std::string version = "Vantu " VANTU_VERSION "\n";

const RunRow runRows[] = {
    {"noDisplay", {}, {}, 1, "", noDisplay},
    {"xcbWithoutDisplay",
     {},
     {"-platform", "xcb"},
     1,
     "",
     "vantu: cannot open a display: DISPLAY is not set\n"},
    {"xcbFromTheEnvironment",
     {"", "wayland-0", "xcb"},
     {},
     1,
     "",
     "vantu: cannot open a display: DISPLAY is not set\n"},
    {"help", {}, {"--help"}, 0, "Usage: ", ""},
    {"helpAllWithQtsOptions", {}, {"--help-all"}, 0, "--platform <platformName", ""},
    {"version", {}, {"-v"}, 0, version, ""},
    {"versionWithPlatform", {}, {"-platform", "offscreen", "--version"}, 0, version, ""},
    {"argumentAfterVersion", {}, {"-v", "extra"}, 2, "", "vantu: takes no arguments: extra\n"},
    {"argumentAfterHelp", {}, {"--help", "a", "b"}, 2, "", "vantu: takes no arguments: a b\n"},
    {"argumentWithDisplay",
     {":99", "", "offscreen"},
     {"picture"},
     2,
     "",
     "vantu: takes no arguments: picture\n"},
    {"unknownOption", {}, {"--version", "--zoom"}, 1, "", "Vantu: Unknown option 'zoom'.\n"},
};

class CommandLineTest : public ::testing::TestWithParam<RunRow> {
protected:
    // A runtime folder of the user's own, as a desktop session has, so that Qt does not warn.
    static void SetUpTestSuite() {
        std::string folder = ::testing::TempDir() + "vantu-runtime-XXXXXX";
        ASSERT_NE(::mkdtemp(folder.data()), nullptr);
        runtime = folder;
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    static void TearDownTestSuite() { ::rmdir(runtime.c_str()); }

    static inline std::string runtime;
};

TEST_P(CommandLineTest, AnswersAsTheManPageSays) {
    const RunRow& row = GetParam();
    setDisplays(row.displays);
    const testing_support::Outcome outcome = testing_support::runProgram(VANTU_PROGRAM, row.args);
    EXPECT_EQ(outcome.status, row.status);
    EXPECT_NE(outcome.out.find(row.out), std::string::npos) << outcome.out;
    EXPECT_EQ(outcome.err, row.err);
}

INSTANTIATE_TEST_SUITE_P(Vantu, CommandLineTest, ::testing::ValuesIn(runRows), RowName());

}  // namespace
}  // namespace vantu
