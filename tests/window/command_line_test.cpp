// vantu's command line as a user meets it, run as a process: the help and the version without a
// display, the arguments it refuses, and the one line it says when there is no display.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/run_program.h"
#include "tests/test_support.h"
#include "window/application.h"

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

// Which platforms may open a window with which display variables set.
struct PlatformRow {
    friend void PrintTo(const PlatformRow& row, std::ostream* out) { *out << row.name; }
    std::string name;
    Displays displays;
    std::string platform;
    std::optional<std::string> missing;
};

const PlatformRow platformRows[] = {
    {"defaultOnX11", {":0", "", ""}, "", std::nullopt},
    {"defaultOnWayland", {"", "wayland-0", ""}, "", std::nullopt},
    {"defaultOnNothing", {}, "", "neither DISPLAY nor WAYLAND_DISPLAY is set"},
    {"offscreen", {}, "offscreen", std::nullopt},
    {"waylandFindsItsSocket", {}, "wayland", std::nullopt},
    {"xcbOnX11", {":0", "", ""}, "xcb", std::nullopt},
    {"xcbOnWayland", {"", "wayland-0", ""}, "xcb", "DISPLAY is not set"},
    {"xcbWithOptions", {}, "xcb:nograb", "DISPLAY is not set"},
    {"listWithAnotherChoice", {}, "xcb;offscreen", std::nullopt},
    {"listOfXcbOnly", {}, "xcb;;xcb", "DISPLAY is not set"},
};

class PlatformTest : public ::testing::TestWithParam<PlatformRow> {};

TEST_P(PlatformTest, NeedsItsDisplay) {
    setDisplays(GetParam().displays);
    EXPECT_EQ(missingDisplay(GetParam().platform), GetParam().missing);
}

INSTANTIATE_TEST_SUITE_P(Vantu, PlatformTest, ::testing::ValuesIn(platformRows), RowName());

}  // namespace
}  // namespace vantu
