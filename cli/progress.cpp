// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/progress.h"

#include <algorithm>
#include <utility>

namespace vantu::cli {

namespace {
constexpr int barWidth = 30;
}  // namespace

ProgressBar::ProgressBar(std::FILE* out, std::string label, long total)
    : m_out(out), m_label(std::move(label)), m_total(std::max(total, 1L)) {
    if (m_out != nullptr) {
        const std::lock_guard lock(m_mutex);
        draw(0);
    }
}

ProgressBar::~ProgressBar() {
    finish();
}

void ProgressBar::advance(long units) {
    const long done = m_done.fetch_add(units) + units;
    if (m_out == nullptr) {
        return;
    }
    // A thread that finds another one drawing leaves the bar to it.
    const std::unique_lock lock(m_mutex, std::try_to_lock);
    if (lock.owns_lock() && !m_finished) {
        draw(done);
    }
}

void ProgressBar::finish() {
    if (m_out == nullptr) {
        return;
    }
    const std::lock_guard lock(m_mutex);
    if (m_finished) {
        return;
    }
    draw(m_done.load());
    std::fputc('\n', m_out);
    std::fflush(m_out);
    m_finished = true;
}

void ProgressBar::draw(long done) {
    const long clamped = std::clamp(done, 0L, m_total);
    const int percent = static_cast<int>(clamped * 100 / m_total);
    if (percent == m_shownPercent) {
        return;
    }
    m_shownPercent = percent;
    const int filled = static_cast<int>(clamped * barWidth / m_total);
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(barWidth - filled), '-');
    std::fprintf(m_out, "\r%s [%s] %3d%%", m_label.c_str(), bar.c_str(), percent);
    std::fflush(m_out);
    ++m_redraws;
}

}  // namespace vantu::cli
