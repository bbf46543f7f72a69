// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

#include "threads/ordered_work.h"

namespace vantu::cli {

// A progress bar redrawn in place on one line, "LABEL [#######-------]  45%", shared by threads.
// It draws only when the shown percentage changes, and nothing at all without a stream.
class ProgressBar final : public WorkProgress {
public:
    // Draws on `out` (nothing when null) for `total` units of work.
    ProgressBar(std::FILE* out, std::string label, long total);
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;
    // Finishes the line if finish() was not called.
    ~ProgressBar();

    // Counts `units` more done. Safe from any thread.
    void advance(long units = 1) override;

    // Ends the line with the bar as far as it got. Later calls do nothing.
    void finish();

    // How many times the bar was drawn.
    [[nodiscard]] int redraws() const noexcept { return m_redraws; }

private:
    void draw(long done);

    std::FILE* m_out;
    std::string m_label;
    long m_total;
    std::atomic<long> m_done{0};
    std::mutex m_mutex;
    int m_shownPercent = -1;
    int m_redraws = 0;
    bool m_finished = false;
};

// stderr when it is a terminal, else null: where progress bars go.
[[nodiscard]] std::FILE* progressStream() noexcept;

}  // namespace vantu::cli
