// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "explorer/frame_renderer.h"

#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <limits>
#include <mutex>
#include <new>
#include <span>
#include <utility>

namespace vantu::explorer {
namespace {

// A packed colour (red + 256 green + 65536 blue) as Qt's opaque 0xffRRGGBB.
constexpr QRgb rgbOf(PackedColour colour) noexcept {
    const auto c = static_cast<QRgb>(colour);
    return 0xff000000U | ((c & 0xffU) << 16) | (c & 0xff00U) | ((c >> 16) & 0xffU);
}

// The earliest fault among the rows, by row and not by time.
class FirstFault {
public:
    // Rows from here on need not be drawn: a fault lies before them.
    [[nodiscard]] int limit() const noexcept { return m_row.load(std::memory_order_relaxed); }

    void record(int row, std::exception_ptr error) {
        const std::lock_guard lock(m_mutex);
        if (row < m_row.load()) {
            m_row = row;
            m_error = std::move(error);
        }
    }

    void rethrow() const {
        if (m_error) {
            std::rethrow_exception(m_error);
        }
    }

private:
    std::atomic<int> m_row{std::numeric_limits<int>::max()};
    std::mutex m_mutex;
    std::exception_ptr m_error;
};

}  // namespace

FrameRenderer::FrameRenderer(FrameOptions options)
    : m_threads(options.threads > 0 ? options.threads : coreCount()),
      m_onFewerThreads(std::move(options.onFewerThreads)),
      m_inBackground(options.inBackground) {}

std::optional<QImage> FrameRenderer::render(const PreparedPicture& picture,
                                            const std::function<bool()>& cancelled) {
    QImage image = std::exchange(m_spare, QImage());
    if (image.size() != QSize(picture.width(), picture.height()) || !image.isDetached() ||
        image.format() != QImage::Format_RGB32) {
        image = QImage();
        image = QImage(picture.width(), picture.height(), QImage::Format_RGB32);
    }
    if (image.isNull()) {
        throw std::bad_alloc();
    }
    image.setDevicePixelRatio(picture.grid().ratio());
    const auto width = static_cast<std::size_t>(picture.width());
    // Taken once: scanLine() on several threads would race on the image's bookkeeping.
    uchar* const bits = image.bits();
    const qsizetype bytesPerLine = image.bytesPerLine();
    std::atomic<bool> abandoned{false};
    FirstFault fault;
    const auto drawRows = [&](const tbb::blocked_range<int>& rows) {
        if (m_inBackground) {
            // Once for each thread, the frame's first row on it.
            thread_local const bool given = (givePriorityToOthers(), true);
            (void)given;
        }
        for (int row = rows.begin(); row < rows.end(); ++row) {
            if (abandoned.load(std::memory_order_relaxed) || row >= fault.limit()) {
                return;
            }
            if (cancelled && cancelled()) {
                abandoned = true;
                return;
            }
            // The row's colours go straight into the image's line, then become Qt's pixels in
            // place: both are 32 bits a pixel.
            auto* line = reinterpret_cast<QRgb*>(bits + row * bytesPerLine);
            const std::span<PackedColour> colours(reinterpret_cast<PackedColour*>(line), width);
            try {
                (void)picture.renderRow(row, colours);
            } catch (...) {
                fault.record(row, std::current_exception());
                return;
            }
            std::transform(colours.begin(), colours.end(), line, rgbOf);
        }
    };
    const FewerThreads tellOnce = [this](const std::string& message) {
        if (!std::exchange(m_toldFewer, true) && m_onFewerThreads) {
            m_onFewerThreads(message);
        }
    };
    const int ran = runOnThreads(m_threads, tellOnce, [&] {
        tbb::parallel_for(tbb::blocked_range<int>(0, picture.height()), drawRows);
    });
    // A thread that could not start once is not asked for again.
    m_threads = std::min(m_threads, ran);
    fault.rethrow();
    if (abandoned) {
        return std::nullopt;
    }
    return image;
}

}  // namespace vantu::explorer
