// vantu-render's export, gallery and snub points as a user runs them.

#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <QString>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "drawing/draw_procedure.h"
#include "render/image_sink.h"
#include "setup/draw_request.h"
#include "tests/run_program.h"
#include "tests/test_support.h"

namespace vantu {
namespace {

using testing_support::Outcome;
using testing_support::runProgram;
using testing_support::slurp;

Outcome render(const std::vector<std::string>& args) {
    return runProgram(VANTU_RENDER, args);
}

std::string scratch(const std::string& name) {
    return testing::TempDir() + "vantu-render-" + std::to_string(::getpid()) + "-" + name;
}

TEST(Export, ZoomOneIsTheWindowPictureAndZoomScalesIt) {
    const std::string one = scratch("one.png");
    const std::string two = scratch("two.png");
    Outcome o = render({"-o", one});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "") << "no progress bar when stderr is not a terminal";
    o = render({"-o", two, "--zoom", "2", "--antialias", "2", "--jobs", "2"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");

    ImageSink sink;
    runDrawing(DrawRequest{}, sink);
    const QImage window(QString::fromStdString(one));
    ASSERT_EQ(window.size(), QSize(640, 481));
    for (int row = 0; row < 481; ++row) {
        for (int col = 0; col < 640; ++col) {
            const PackedColour c = sink.at(col, row);
            ASSERT_EQ(window.pixel(col, row), qRgb(redOf(c), greenOf(c), blueOf(c)))
                << "pixel (" << col << ", " << row << ")";
        }
    }
    EXPECT_EQ(QImage(QString::fromStdString(two)).size(), QSize(1280, 962));
    std::remove(one.c_str());
    std::remove(two.c_str());
}

TEST(Export, FilesAreTheSameForAnyThreadCount) {
    std::string first;
    for (const char* jobs : {"1", "2", "5"}) {
        const std::string file = scratch(std::string("jobs") + jobs + ".png");
        const Outcome o =
            render({"-o", file, "--zoom", "2", "--projection", "gnome", "--jobs", jobs});
        ASSERT_EQ(o.status, 0) << o.err;
        const std::string bytes = slurp(file);
        std::remove(file.c_str());
        if (first.empty()) {
            first = bytes;
            ASSERT_FALSE(first.empty());
        } else {
            EXPECT_TRUE(bytes == first) << jobs << " threads";
        }
    }
}

TEST(Export, FaultsAsTheWindowDoes) {
    const std::string file = scratch("zero.png");
    const Outcome o = render({"-o", file, "--scale", "0", "--zoom", "2", "--jobs", "2"});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "vantu-render: the scale R is 0: division by zero in row 0\n");
    const QImage image(QString::fromStdString(file));
    EXPECT_EQ(image.size(), QSize(1280, 962));
    EXPECT_EQ(qAlpha(image.pixel(640, 481)), 0);
    std::remove(file.c_str());
}

TEST(Export, MarkSnubRingsTheMeetingPointsOnly) {
    const std::string plain = scratch("plain.png");
    const std::string marked = scratch("marked.png");
    ASSERT_EQ(render({"-o", plain}).status, 0);
    ASSERT_EQ(render({"-o", marked, "--mark-snub"}).status, 0);
    const QImage a(QString::fromStdString(plain));
    const QImage b(QString::fromStdString(marked));
    // The snub tetrahedron's point at pixel (316, 194) is ringed; the corner is untouched.
    EXPECT_EQ(b.pixel(316 + 7, 194), qRgb(0, 0, 0));
    EXPECT_EQ(b.pixel(316, 194), a.pixel(316, 194));
    EXPECT_EQ(b.pixel(0, 0), a.pixel(0, 0));
    std::remove(plain.c_str());
    std::remove(marked.c_str());
}

TEST(Snub, PrintsTheSnubTetrahedronsPoints) {
    const Outcome o = render({"--snub"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    EXPECT_NE(o.out.find("for \"300 2/1:3/1:3/1\", rotation 0, reverse off: 4.\n"),
              std::string::npos)
        << o.out;
    // 4 / (2 + phi), the icosahedron's edge over its circumradius, squared.
    EXPECT_NE(o.out.find("  1  -0.026459974275575"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("3  +++    1.10557280900008    (316, 194)\n"), std::string::npos) << o.out;
}

TEST(Snub, ReportsABadCode) {
    const Outcome o = render({"--snub", "--code", "300 2/1:3/1:7/1"});
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.out.empty());
    EXPECT_TRUE(o.err.starts_with("vantu-render: the angles 90\u00B0, 60\u00B0, 25.71\u00B0"))
        << o.err;
}

struct UsageCase {
    const char* name;
    std::vector<std::string> args;
    std::string message;
    friend void PrintTo(const UsageCase& c, std::ostream* os) { *os << c.name; }
};

class Usage : public testing::TestWithParam<UsageCase> {};

TEST_P(Usage, IsABadCommandLine) {
    const Outcome o = render(GetParam().args);
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err, "vantu-render: " + GetParam().message +
                         "\nTry 'vantu-render --help' for more information.\n");
    EXPECT_EQ(o.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Usage,
    testing::Values(UsageCase{"MarkSnubAlone", {"--mark-snub"}, "--mark-snub needs -o"},
                    UsageCase{"ZoomTooLarge",
                              {"-o", "x.png", "--zoom", "17"},
                              "--zoom must be a whole number from 1 to 16, not '17'"},
                    UsageCase{"ZoomAlone",
                              {"--zoom", "2"},
                              "nothing to do: give -o FILE.png, --runs, --snub or --gallery DIR"}),
    RowName());

// Under a terminal the progress bar shows on stderr and ends at 100%.
TEST(Progress, ShowsOnATerminal) {
    const std::string file = scratch("tty.png");
    int master = -1;
    const pid_t child = ::forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Only stderr stays on the terminal.
        std::freopen("/dev/null", "w", stdout);
        ::execl(VANTU_RENDER, VANTU_RENDER, "-o", file.c_str(), "--zoom", "2", "--jobs", "2",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    std::string screen;
    char buffer[4096];
    for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;) {
        screen.append(buffer, static_cast<std::size_t>(n));
    }
    int raw = 0;
    ::waitpid(child, &raw, 0);
    ::close(master);
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0);
    EXPECT_NE(screen.find("rendering ["), std::string::npos) << screen;
    EXPECT_NE(screen.find("] 100%"), std::string::npos) << screen;
    std::remove(file.c_str());
}

}  // namespace
}  // namespace vantu
