// The command line of the print-quality export, the gallery and the snub points.

#include "cli/options.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace vantu::cli {
namespace {

struct ParseCase {
    const char* name;
    std::vector<std::string> args;
    int zoom;
    int antialias;
    int jobs;
    std::string gallery;
    bool permutations;
    bool snub;
    bool markSnub;
    friend void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }
};

class NewOptions : public testing::TestWithParam<ParseCase> {};

TEST_P(NewOptions, AreRead) {
    const ParseCase& c = GetParam();
    const CommandLine line = parseCommandLine(c.args);
    EXPECT_EQ(line.zoom, c.zoom);
    EXPECT_EQ(line.antialias, c.antialias);
    EXPECT_EQ(line.jobs, c.jobs);
    EXPECT_EQ(line.gallery, c.gallery);
    EXPECT_EQ(line.permutations, c.permutations);
    EXPECT_EQ(line.snub, c.snub);
    EXPECT_EQ(line.markSnub, c.markSnub);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, NewOptions,
    testing::Values(
        ParseCase{"Defaults", {"-o", "a.png"}, 1, 1, 0, "", false, false, false},
        ParseCase{"ZoomAndAntialias",
                  {"-o", "a.png", "--zoom", "16", "--antialias=8"},
                  16,
                  8,
                  0,
                  "",
                  false,
                  false,
                  false},
        ParseCase{
            "LeadingZeros", {"-o", "a.png", "--zoom", "03"}, 3, 1, 0, "", false, false, false},
        ParseCase{"Jobs", {"-o", "a.png", "--jobs", "3"}, 1, 1, 3, "", false, false, false},
        ParseCase{"Gallery",
                  {"--gallery", "out", "--permutations", "--scale", "60", "--zoom", "2"},
                  2,
                  1,
                  0,
                  "out",
                  true,
                  false,
                  false},
        ParseCase{"Snub", {"--snub", "--code", "311 3/2:3/2:3/2"}, 1, 1, 0, "", false, true, false},
        ParseCase{"MarkSnub",
                  {"-o", "a.png", "--mark-snub", "--zoom", "4"},
                  4,
                  1,
                  0,
                  "",
                  false,
                  false,
                  true},
        ParseCase{"SnubWithRuns", {"--snub", "--runs"}, 1, 1, 0, "", false, true, false}),
    RowName());

struct ErrorCase {
    const char* name;
    std::vector<std::string> args;
    const char* message;
    friend void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }
};

class BadNewOptions : public testing::TestWithParam<ErrorCase> {};

TEST_P(BadNewOptions, AreRejected) {
    const ErrorCase& c = GetParam();
    EXPECT_THROW_MSG((void)parseCommandLine(c.args), UsageError, c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BadNewOptions,
    testing::Values(
        ErrorCase{
            "ZoomZero", {"--zoom", "0"}, "--zoom must be a whole number from 1 to 16, not '0'"},
        ErrorCase{"ZoomTooLarge",
                  {"--zoom", "17"},
                  "--zoom must be a whole number from 1 to 16, not '17'"},
        ErrorCase{"ZoomFraction",
                  {"--zoom", "2.5"},
                  "--zoom must be a whole number from 1 to 16, not '2.5'"},
        ErrorCase{
            "ZoomSigned", {"--zoom", "+2"}, "--zoom must be a whole number from 1 to 16, not '+2'"},
        ErrorCase{"ZoomEmpty", {"--zoom="}, "--zoom must be a whole number from 1 to 16, not ''"},
        ErrorCase{"ZoomHuge",
                  {"--zoom", "99999999999999999999"},
                  "--zoom must be a whole number from 1 to 16, not '99999999999999999999'"},
        ErrorCase{"ZoomMissing", {"--zoom"}, "option '--zoom' needs a value"},
        ErrorCase{"AntialiasNine",
                  {"--antialias", "9"},
                  "--antialias must be a whole number from 1 to 8, not '9'"},
        ErrorCase{
            "JobsZero", {"--jobs", "0"}, "--jobs must be a whole number from 1 to 256, not '0'"},
        ErrorCase{"JobsWord",
                  {"--jobs", "all"},
                  "--jobs must be a whole number from 1 to 256, not 'all'"},
        ErrorCase{"GalleryEmpty", {"--gallery="}, "option '--gallery' needs a folder"},
        ErrorCase{"GalleryWithOutput",
                  {"--gallery", "g", "-o", "a.png"},
                  "--gallery draws every code in every projection; it cannot be combined with "
                  "--output"},
        ErrorCase{"GalleryWithCode",
                  {"--code", "311 3/2:3/2:3/2", "--gallery", "g"},
                  "--gallery draws every code in every projection; it cannot be combined with "
                  "--code"},
        ErrorCase{"GalleryWithProjection",
                  {"--gallery", "g", "--projection", "ortho"},
                  "--gallery draws every code in every projection; it cannot be combined with "
                  "--projection"},
        ErrorCase{"GalleryWithSnub",
                  {"--gallery", "g", "--snub"},
                  "--gallery draws every code in every projection; it cannot be combined with "
                  "--snub"},
        ErrorCase{"PermutationsAlone",
                  {"-o", "a.png", "--permutations"},
                  "--permutations needs --gallery"},
        ErrorCase{"PermutationsWithValue",
                  {"--gallery", "g", "--permutations=1"},
                  "option '--permutations' takes no value"},
        ErrorCase{"MarkSnubWithoutOutput", {"--snub", "--mark-snub"}, "--mark-snub needs -o"},
        ErrorCase{"RunsWithZoom",
                  {"--runs", "--zoom", "2"},
                  "--runs lists the window's own picture; it cannot be combined with --zoom or "
                  "--antialias"},
        ErrorCase{"RunsWithAntialias",
                  {"--runs", "-o", "a.png", "--antialias", "1"},
                  "--runs lists the window's own picture; it cannot be combined with --zoom or "
                  "--antialias"}),
    RowName());

TEST(Help, DescribesTheNewOptions) {
    const std::string help = usageText();
    for (const char* option :
         {"--zoom K", "--antialias N", "--jobs N", "--gallery DIR", "--permutations", "--snub",
          "--mark-snub", "progress bar", "index.html"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace vantu::cli
