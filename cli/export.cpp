#include "cli/export.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "cli/indexed_work.h"

namespace vantu::cli {

QRgb toRgb(PackedColour colour) noexcept {
    return qRgb(redOf(colour), greenOf(colour), blueOf(colour));
}

RenderedImage renderImage(const FinePicture& picture, int jobs, ProgressBar* progress) {
    const int width = picture.width();
    const int height = picture.height();
    RenderedImage result;
    // Not filled: every row is written below, by a thread or after a fault.
    result.image = QImage(width, height, QImage::Format_ARGB32);
    // Taken once here: the threads write into disjoint rows of this buffer.
    uchar* const bits = result.image.bits();
    const auto bytesPerLine = static_cast<std::size_t>(result.image.bytesPerLine());
    const auto line = [&](int row) {
        return reinterpret_cast<QRgb*>(bits + static_cast<std::size_t>(row) * bytesPerLine);
    };

    const auto makeWorker = [&]() -> IndexWorker {
        return [&, colours = std::vector<PackedColour>(static_cast<std::size_t>(width))](
                   std::size_t index) mutable {
            const int row = static_cast<int>(index);
            try {
                picture.renderRow(row, colours);
            } catch (const DrawError& e) {
                // The pixels before the faulting one were coloured before the fault.
                const int kept = std::clamp(e.column(), 0, width);
                std::transform(colours.begin(), colours.begin() + kept, line(row), toRgb);
                std::fill(line(row) + kept, line(row) + width, qRgba(0, 0, 0, 0));
                throw;
            }
            std::transform(colours.begin(), colours.end(), line(row), toRgb);
        };
    };

    const std::optional<IndexedFailure> failure =
        runIndexedWork(static_cast<std::size_t>(height), jobs, makeWorker, progress);
    if (!failure) {
        return result;
    }
    try {
        std::rethrow_exception(failure->error);
    } catch (const DrawError& e) {
        result.fault = e;
    }
    // Rows below the fault that other threads finished before they heard of it.
    for (int row = static_cast<int>(failure->index) + 1; row < height; ++row) {
        std::fill(line(row), line(row) + width, qRgba(0, 0, 0, 0));
    }
    return result;
}

}  // namespace vantu::cli
