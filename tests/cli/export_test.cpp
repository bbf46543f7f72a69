// The picture rendered on several threads into an image.

#include "cli/export.h"

#include <gtest/gtest.h>

#include <QSize>
#include <ostream>
#include <string>
#include <vector>

#include "render/image_sink.h"
#include "render/render_picture.h"
#include "setup/draw_request.h"
#include "tests/test_support.h"

namespace vantu::cli {
namespace {

DrawSetup startUp() {
    return prepareDrawing(DrawRequest{});
}

struct ThreadCase {
    const char* name;
    Projection projection;
    Sampling sampling;
    friend void PrintTo(const ThreadCase& c, std::ostream* os) { *os << c.name; }
};

class RenderImage : public testing::TestWithParam<ThreadCase> {};

// Every thread count gives the picture's own rows, pixel for pixel.
TEST_P(RenderImage, DoesNotDependOnTheThreadCount) {
    const ThreadCase& c = GetParam();
    const DrawSetup setup = startUp();
    const FinePicture picture(120.0, setup.pi, c.projection, setup.normals, c.sampling);
    const RenderedImage one = renderImage(picture, 1, nullptr);
    ASSERT_FALSE(one.fault.has_value());
    ASSERT_EQ(one.image.width(), picture.width());
    ASSERT_EQ(one.image.height(), picture.height());
    std::vector<PackedColour> row(static_cast<std::size_t>(picture.width()));
    for (int r = 0; r < picture.height(); r += 7) {
        picture.renderRow(r, row);
        for (int col = 0; col < picture.width(); ++col) {
            ASSERT_EQ(one.image.pixel(col, r), toRgb(row[static_cast<std::size_t>(col)]))
                << "pixel (" << col << ", " << r << ")";
        }
    }
    for (const int jobs : {2, 3, 8}) {
        const RenderedImage many = renderImage(picture, jobs, nullptr);
        EXPECT_FALSE(many.fault.has_value());
        EXPECT_TRUE(many.image == one.image) << jobs << " threads";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, RenderImage,
    testing::Values(ThreadCase{"StereographicZoomTwo", Projection::stereographic, {2, 1}},
                    ThreadCase{"GnomonicAntialiasThree", Projection::gnomonic, {1, 3}},
                    ThreadCase{"OrthographicBoth", Projection::orthographic, {2, 2}}),
    RowName());

// Zoom 1 is the window's picture, whatever the thread count.
TEST(RenderImageAtZoomOne, IsTheWindowPicture) {
    const DrawSetup setup = startUp();
    ImageSink sink;
    renderPicture(120.0, setup.pi, Projection::stereographic, setup.normals, sink);
    const FinePicture picture(120.0, setup.pi, Projection::stereographic, setup.normals, {1, 1});
    const RenderedImage rendered = renderImage(picture, 2, nullptr);
    for (int row = 0; row < pictureHeight; ++row) {
        for (int col = 0; col < pictureWidth; ++col) {
            ASSERT_EQ(rendered.image.pixel(col, row), toRgb(sink.at(col, row)))
                << "pixel (" << col << ", " << row << ")";
        }
    }
}

// A fault stops the picture with the window's error and leaves nothing drawn after it.
TEST(RenderImageFaults, KeepTheWindowsErrorAndNothingAfterIt) {
    const DrawSetup setup = startUp();
    for (const int jobs : {1, 3}) {
        const FinePicture picture(0.0, setup.pi, Projection::gnomonic, setup.normals, {2, 2});
        const RenderedImage rendered = renderImage(picture, jobs, nullptr);
        ASSERT_TRUE(rendered.fault.has_value());
        EXPECT_STREQ(rendered.fault->what(), "the scale R is 0: division by zero in row 0");
        EXPECT_EQ(rendered.image.size(), QSize(1280, 962));
        bool anyDrawn = false;
        for (int row = 0; row < rendered.image.height() && !anyDrawn; row += 3) {
            for (int col = 0; col < rendered.image.width(); col += 3) {
                anyDrawn = anyDrawn || qAlpha(rendered.image.pixel(col, row)) != 0;
            }
        }
        EXPECT_FALSE(anyDrawn) << jobs << " threads";
    }
}

}  // namespace
}  // namespace vantu::cli
