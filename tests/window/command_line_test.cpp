// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// vantu's command line as a user meets it, run as a process: the help and the version without a
// display and to an output that cannot take them, the arguments it refuses, and the one line it
// says when there is no display or none it can open.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

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

// Where a row's standard output goes.
enum class Output {
    captured,
    fullDevice,       // /dev/full
    beyondSizeLimit,  // a file, with the file size limit (ulimit -f) at 100 bytes
};

struct RunRow {
    friend void PrintTo(const RunRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    Displays displays;
    std::vector<std::string> args;
    int status;                                  // -1 when killed by a signal
    std::string out;                             // a part of stdout
    ::testing::Matcher<const std::string&> err;  // all of stderr
    Output output = Output::captured;
};

const std::string noDisplay =
    "vantu: cannot open a display: neither DISPLAY nor WAYLAND_DISPLAY is set\n";
const std::string version = "Vantu " VANTU_VERSION "\n";
// No X server listens there: Xvfb -displayfd and xvfb-run take the lowest free numbers from 0
// and from 99.
const std::string absentX = ":4095";
// One line naming the platform and listing those there are, the offscreen one among them.
const auto noSuchPlatform = ::testing::MatchesRegex(
    "vantu: no such window platform: nonesuch \\(available: [a-z0-9, -]*offscreen[a-z0-9, "
    "-]*\\)\n");
const std::string fullDevice =
    "vantu: cannot write to the standard output: No space left on device\n";

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
    {"unknownOption",
     {},
     {"--version", "--zoom"},
     2,
     "",
     "vantu: unknown option '--zoom'\nTry 'vantu --help' for more information.\n"},
    {"unknownOptionOfOneDash",
     {":99", "", "offscreen"},
     {"-zoom=2"},
     2,
     "",
     ::testing::HasSubstr("unknown option '-zoom=2'")},
    // The drawing options, which vantu takes before Qt could take --reverse for itself.
    {"helpListsTheDrawingOptions", {}, {"--help"}, 0, "--view <LON,LAT,ROLL>", ""},
    {"drawingOptionWithoutExplore",
     {},
     {"--code", "300 2/1:3/1:3/1"},
     2,
     "",
     "vantu: --code requires --explore\nTry 'vantu --help' for more information.\n"},
    {"reverseIsVantusOwn",
     {":99", "", "offscreen"},
     {"--reverse"},
     2,
     "",
     "vantu: --reverse requires --explore\nTry 'vantu --help' for more information.\n"},
    {"explorerScaleBeyondTheDoubles",
     {":99", "", "offscreen"},
     {"--explore", "--scale", "1e999"},
     1,
     "",
     "vantu: the scale R \"1e999\" is beyond the range of numbers: overflow\n"},
    {"explorerOptionsWithoutADisplay",
     {},
     {"--explore", "--reverse", "--view=30,-15,0", "--projection", "ortho"},
     1,
     "",
     noDisplay},
    {"noXServer",
     {absentX, "", ""},
     {},
     1,
     "",
     "vantu: cannot open a display: cannot connect to the X server at DISPLAY=" + absentX + "\n"},
    {"notAnXDisplayName",
     {"bogus", "", ""},
     {},
     1,
     "",
     "vantu: cannot open a display: DISPLAY=bogus does not name an X display\n"},
    {"noWaylandCompositor",
     {"", "nowhere", ""},
     {},
     1,
     "",
     "vantu: cannot open a display: no Wayland compositor at WAYLAND_DISPLAY=nowhere\n"},
    {"noSuchPlatformInTheEnvironment", {"", "", "nonesuch"}, {}, 1, "", noSuchPlatform},
    {"noSuchPlatformOption", {}, {"-platform", "nonesuch"}, 1, "", noSuchPlatform},
    {"everyPlatformOfAListFails",
     {absentX, "nowhere", "wayland;xcb"},
     {},
     1,
     "",
     "vantu: cannot open a display: no Wayland compositor at WAYLAND_DISPLAY=nowhere; cannot "
     "connect to the X server at DISPLAY=" +
         absentX + "\n"},
    // Qt's word about the first entry is passed on once the second has started.
    {"lastPlatformOfAListStarts",
     {},
     {"--help-all", "-platform", "nonesuch;offscreen"},
     0,
     "--platform <platformName",
     ::testing::HasSubstr("nonesuch")},
    {"helpToAFullDevice", {}, {"--help"}, 1, "", fullDevice, Output::fullDevice},
    {"helpAllToAFullDevice", {}, {"--help-all"}, 1, "", fullDevice, Output::fullDevice},
    {"versionToAFullDevice", {}, {"--version"}, 1, "", fullDevice, Output::fullDevice},
    // Killed by SIGXFSZ unless the program ignores it.
    {"helpBeyondTheFileSizeLimit",
     {},
     {"--help"},
     1,
     "",
     "vantu: cannot write to the standard output: File too large\n",
     Output::beyondSizeLimit},
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
    std::string program = VANTU_PROGRAM;
    std::vector<std::string> args = row.args;
    std::string stdoutTo;
    if (row.output == Output::fullDevice) {
        stdoutTo = "/dev/full";
    } else if (row.output == Output::beyondSizeLimit) {
        stdoutTo = (testing_support::scratchFolder("command-line") / "out").string();
        std::ofstream{stdoutTo};
        args.insert(args.begin(), {"--fsize=100", program});
        program = "/usr/bin/prlimit";
    }
    const testing_support::Outcome outcome = testing_support::runProgram(program, args, stdoutTo);
    EXPECT_EQ(outcome.status, row.status);
    EXPECT_NE(outcome.out.find(row.out), std::string::npos) << outcome.out;
    EXPECT_THAT(outcome.err, row.err);
}

INSTANTIATE_TEST_SUITE_P(Vantu, CommandLineTest, ::testing::ValuesIn(runRows), RowName());

// A drawing option's value refused: status 2 and the message vantu-render gives for it, after
// the program's name.
TEST(ExploreOptions, AreRefusedInVantuRendersWords) {
    const std::vector<std::vector<std::string>> refused = {
        {"--rotation", "3"},
        {"--view", "1,2"},
        {"--view=1,2,x"},
        {"--projection", "mercator"},
        {"--reverse=maybe"},
        {"--scale"},
        {"--rotation", "1", "--rotation", "01x"},
        {"--triangle", "2 3"},
        {"--triangle", "2 3 3", "--code", "300 2/1:3/1:3/1"},
    };
    const auto firstLine = [](const std::string& text, const std::string& program) {
        EXPECT_TRUE(text.starts_with(program + ": ")) << text;
        return text.substr(program.size() + 2, text.find('\n') - program.size() - 2);
    };
    for (const std::vector<std::string>& args : refused) {
        std::vector<std::string> explore = {"--explore"};
        explore.insert(explore.end(), args.begin(), args.end());
        const testing_support::Outcome vantu = testing_support::runProgram(VANTU_PROGRAM, explore);
        const testing_support::Outcome render =
            testing_support::runProgram(VANTU_RENDER_PROGRAM, args);
        EXPECT_EQ(vantu.status, 2) << args[0];
        EXPECT_EQ(render.status, 2) << args[0];
        EXPECT_EQ(firstLine(vantu.err, "vantu"), firstLine(render.err, "vantu-render")) << args[0];
    }
}

}  // namespace
}  // namespace vantu
