#include "cli/indexed_work.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace vantu::cli {

std::optional<IndexedFailure> runIndexedWork(std::size_t count, int threads,
                                             const std::function<IndexWorker()>& makeWorker,
                                             ProgressBar* progress) {
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> stop{count};  // indices from here on are not started
    std::mutex failureMutex;
    std::optional<IndexedFailure> failure;
    std::exception_ptr workerNotMade;

    const auto work = [&] {
        IndexWorker worker;
        try {
            worker = makeWorker();
        } catch (...) {
            const std::lock_guard lock(failureMutex);
            workerNotMade = std::current_exception();
            stop = 0;
            return;
        }
        for (std::size_t index = next++; index < stop.load(); index = next++) {
            try {
                worker(index);
            } catch (...) {
                const std::lock_guard lock(failureMutex);
                if (!failure || index < failure->index) {
                    failure = IndexedFailure{index, std::current_exception()};
                    stop = index;
                }
                return;
            }
            if (progress != nullptr) {
                progress->advance();
            }
        }
    };

    const std::size_t wanted = threads > 0 ? static_cast<std::size_t>(threads)
                                           : std::max(1U, std::thread::hardware_concurrency());
    const std::size_t used = std::clamp<std::size_t>(wanted, 1, std::max<std::size_t>(count, 1));
    std::vector<std::thread> pool;
    for (std::size_t t = 1; t < used; ++t) {
        pool.emplace_back(work);
    }
    work();
    for (std::thread& t : pool) {
        t.join();
    }
    if (workerNotMade) {
        std::rethrow_exception(workerNotMade);
    }
    return failure;
}

}  // namespace vantu::cli
