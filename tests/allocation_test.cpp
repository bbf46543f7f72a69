// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The scan and the finer sampling allocate nothing: not per pixel, not per row.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "render/fine_picture.h"
#include "render/pixel_colour.h"
#include "render/render_picture.h"
#include "setup/draw_request.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace vantu {
namespace {

// Counts what it receives without storing anything.
class CountingSink : public RunSink {
public:
    void drawRun(int, int, int, PackedColour colour) override { sum += colour; }
    void endRow(int) override { ++rows; }
    long sum = 0;
    int rows = 0;
};

TEST(Allocations, NoneWhileScanning) {
    const DrawSetup setup = prepareDrawing(DrawRequest{});
    for (const Projection projection :
         {Projection::stereographic, Projection::gnomonic, Projection::orthographic}) {
        CountingSink sink;
        const long before = allocations.load();
        renderPicture(120.0, setup.pi, projection, setup.normals, sink);
        EXPECT_EQ(allocations.load() - before, 0);
        EXPECT_EQ(sink.rows, 481);
        EXPECT_GT(sink.sum, 0);
    }
    // Three perpendicular mirrors: k = 3, the red and blue tests fail, the green one holds.
    const Mirrors perpendicular = {Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1}};
    const long before = allocations.load();
    const PackedColour colour = pixelColour({0.6, 0.0, 0.8}, perpendicular);
    EXPECT_EQ(allocations.load() - before, 0);
    EXPECT_EQ(colour, 255 + 256 * 1 + 65536 * 255);
}

TEST(FineAllocations, NoneWhileRenderingRows) {
    const DrawSetup setup = prepareDrawing(DrawRequest{});
    for (const Sampling sampling : {Sampling{1, 1}, Sampling{3, 1}, Sampling{2, 4}}) {
        for (const Projection projection :
             {Projection::stereographic, Projection::gnomonic, Projection::orthographic}) {
            const FinePicture picture(120.0, setup.pi, projection, setup.normals, sampling);
            std::vector<PackedColour> row(static_cast<std::size_t>(picture.width()), -1);
            const long before = allocations.load();
            for (int r = 0; r < picture.height(); r += 50) {
                picture.renderRow(r, row);
            }
            EXPECT_EQ(allocations.load() - before, 0);
            EXPECT_NE(row.back(), -1);
        }
    }
}

}  // namespace
}  // namespace vantu
