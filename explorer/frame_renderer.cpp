// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "explorer/frame_renderer.h"

#include <algorithm>
#include <cstddef>
#include <exception>
#include <new>
#include <span>
#include <string>
#include <utility>

#include "desktop/qt_values.h"
#include "threads/ordered_work.h"

namespace vantu::explorer {

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
    // Rows are handed out sixteen at a time: fewer at a time, the loop's own cost shows in a
    // frame (ten per cent at four rows).
    constexpr int rowsPerItem = 16;
    const int height = picture.height();
    OrderedWork rows;
    rows.count = static_cast<std::size_t>((height + rowsPerItem - 1) / rowsPerItem);
    // Every row goes straight into the image, so none waits for the rows above it.
    rows.window = std::max<std::size_t>(rows.count, 1);
    rows.options.jobs = m_threads;
    rows.options.onFewerThreads = [this](const std::string& message) {
        if (!std::exchange(m_toldFewer, true) && m_onFewerThreads) {
            m_onFewerThreads(message);
        }
    };
    rows.cancelled = cancelled;
    const WorkOutcome outcome = runOrderedWork(rows, [&](std::size_t index, std::size_t /*slot*/) {
        if (m_inBackground) {
            // Once for each thread, the first row it draws.
            thread_local const bool given = (givePriorityToOthers(), true);
            (void)given;
        }
        const int first = static_cast<int>(index) * rowsPerItem;
        for (int row = first; row < std::min(first + rowsPerItem, height); ++row) {
            // The row's colours go straight into the image's line, then become Qt's pixels in
            // place: both are 32 bits a pixel.
            auto* line = reinterpret_cast<QRgb*>(bits + row * bytesPerLine);
            const std::span<PackedColour> colours(reinterpret_cast<PackedColour*>(line), width);
            (void)picture.renderRow(row, colours);
            std::transform(colours.begin(), colours.end(), line, qRgbOf);
        }
    });
    // A thread that could not start once is not asked for again.
    m_threads = std::min(m_threads, outcome.threads);
    if (outcome.failure) {
        std::rethrow_exception(outcome.failure->error);
    }
    if (outcome.cancelled) {
        return std::nullopt;
    }
    return image;
}

}  // namespace vantu::explorer
