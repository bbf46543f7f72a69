#include "cli/export.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <mutex>
#include <thread>
#include <vector>

#include "render/vector_state.h"

namespace vantu::cli {

int defaultJobs() noexcept {
    return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
}

void runOnThreads(int threads, const std::function<void()>& work) {
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) {
        pool.emplace_back(work);
    }
    work();
    for (std::thread& t : pool) {
        t.join();
    }
}

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

    std::atomic<int> nextRow{0};
    std::atomic<int> stopRow{height};  // rows from here on are not needed
    std::mutex faultMutex;
    int faultRow = height;

    const auto work = [&] {
        std::vector<PackedColour> colours(static_cast<std::size_t>(width));
        for (int row = nextRow++; row < stopRow.load(); row = nextRow++) {
            try {
                clearUpperVectorState();
                picture.renderRow(row, colours);
            } catch (const DrawError& e) {
                const std::lock_guard lock(faultMutex);
                if (row < faultRow) {
                    faultRow = row;
                    result.fault = e;
                    // The pixels before the faulting one were coloured before the fault.
                    const int kept = std::clamp(e.column(), 0, width);
                    std::transform(colours.begin(), colours.begin() + kept, line(row), toRgb);
                    std::fill(line(row) + kept, line(row) + width, qRgba(0, 0, 0, 0));
                    stopRow = row;
                }
                return;
            }
            std::transform(colours.begin(), colours.end(), line(row), toRgb);
            if (progress != nullptr) {
                progress->advance();
            }
        }
    };

    runOnThreads(std::clamp(jobs, 1, height), work);
    // Rows below a fault that other threads finished before they heard of it.
    for (int row = faultRow + 1; row < height; ++row) {
        std::fill(line(row), line(row) + width, qRgba(0, 0, 0, 0));
    }
    return result;
}

}  // namespace vantu::cli
