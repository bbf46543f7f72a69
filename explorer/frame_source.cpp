// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "explorer/frame_source.h"

#include <exception>
#include <new>
#include <system_error>
#include <utility>

#include <QMetaObject>

#include "desktop/error_reporter.h"
#include "explorer/reading_panels.h"

namespace vantu::explorer {

using Clock = std::chrono::steady_clock;

FrameSource::FrameSource(FrameOptions options, QObject* parent)
    : QObject(parent), m_renderer([this, &options] {
          FrameOptions mine = std::move(options);
          mine.inBackground = true;
          mine.onFewerThreads = [this](const std::string& message) {
              QMetaObject::invokeMethod(
                  this,
                  [this, text = QString::fromStdString(message)] { Q_EMIT fewerThreads(text); },
                  Qt::QueuedConnection);
          };
          return mine;
      }()) {
    try {
        m_thread = std::thread([this] { drawFrames(); });
    } catch (const std::system_error& e) {
        // No thread of its own: the frames are drawn on this one, between its events.
        QMetaObject::invokeMethod(
            this,
            [this, text = QStringLiteral("cannot start a thread for the frames (%1); drawing them "
                                         "on the window's own")
                              .arg(QString::fromLocal8Bit(e.code().message()))] {
                Q_EMIT fewerThreads(text);
            },
            Qt::QueuedConnection);
    }
}

FrameSource::~FrameSource() {
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
        m_endingNow = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

std::uint64_t FrameSource::request(const PictureDescription& description, const FrameMarks& marks) {
    std::uint64_t generation = 0;
    {
        const std::lock_guard lock(m_mutex);
        generation = m_newest.load() + 1;
        m_pending = Request{description, marks, generation};
        m_newest = generation;
    }
    m_wake.notify_all();
    if (!m_thread.joinable()) {
        // Drawn once this thread's pending events are handled, the newest request alone.
        QMetaObject::invokeMethod(
            this,
            [this] {
                std::unique_lock lock(m_mutex);
                if (m_pending) {
                    drawPending(lock);
                }
            },
            Qt::QueuedConnection);
    }
    return generation;
}

void FrameSource::recycle(QImage image) {
    if (image.isNull()) {
        return;
    }
    const std::lock_guard lock(m_mutex);
    m_returned.push_back(std::move(image));
}

bool FrameSource::abandons(std::uint64_t generation) const noexcept {
    if (m_endingNow.load()) {
        return true;
    }
    if (m_newest.load() == generation) {
        return false;
    }
    const Clock::duration sinceFrame =
        Clock::now().time_since_epoch() - Clock::duration(m_lastFrame.load());
    return sinceFrame < patience;
}

void FrameSource::tellFacts(const DrawRequest& request, const PreparedPicture* picture) {
    if (m_factsTold && sameTriangle(*m_factsTold, request)) {
        return;
    }
    m_factsTold = request;
    QMetaObject::invokeMethod(
        this,
        [this, facts = picture != nullptr ? factsText(*picture) : factsText(request)] {
            Q_EMIT factsReady(facts);
        },
        Qt::QueuedConnection);
}

std::shared_ptr<const PreparedPicture> FrameSource::prepare(const Request& request) const {
    const OverlayOptions& overlays = request.marks.overlays;
    return std::make_shared<const PreparedPicture>(
        m_prepared ? m_prepared->redescribed(request.description, overlays)
                   : PreparedPicture(request.description, overlays));
}

void FrameSource::drawFrames() {
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this] { return m_ending || m_pending.has_value(); });
        if (m_ending) {
            return;
        }
        drawPending(lock);
    }
}

void FrameSource::drawPending(std::unique_lock<std::mutex>& lock) {
    const Request request = *std::exchange(m_pending, std::nullopt);
    std::vector<QImage> returned = std::exchange(m_returned, {});
    lock.unlock();
    if (!returned.empty()) {
        // The last one is the likeliest to fit; the others go here, off the interface.
        m_renderer.recycle(std::move(returned.back()));
        returned.clear();
    }
    std::optional<QString> failure;
    std::optional<MarkedFrame> marked;
    Clock::time_point start;
    try {
        start = Clock::now();
        try {
            m_prepared = prepare(request);
        } catch (...) {
            tellFacts(request.description.request, nullptr);
            throw;
        }
        // The facts are told before the frame, and their time is not the frame's.
        const Clock::time_point facts = Clock::now();
        tellFacts(request.description.request, m_prepared.get());
        start += Clock::now() - facts;
        marked = renderMarked(m_renderer, *m_prepared, request.marks.font,
                              [this, &request] { return abandons(request.generation); });
    } catch (...) {
        failure = failureSentence();
    }
    const Clock::time_point end = Clock::now();
    if (marked) {
        m_lastFrame = end.time_since_epoch().count();
        Frame frame{std::move(marked->image),
                    request.description,
                    request.marks.overlays,
                    std::move(marked->labels),
                    std::chrono::duration<double, std::milli>(end - start).count(),
                    request.generation,
                    m_prepared};
        QMetaObject::invokeMethod(
            this, [this, frame = std::move(frame)] { Q_EMIT frameReady(frame); },
            Qt::QueuedConnection);
    } else if (failure) {
        QMetaObject::invokeMethod(
            this,
            [this, message = std::move(*failure), generation = request.generation] {
                Q_EMIT frameFailed(message, generation);
            },
            Qt::QueuedConnection);
    }
    lock.lock();
}

}  // namespace vantu::explorer
