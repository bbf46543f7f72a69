// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <QImage>
#include <QObject>
#include <QString>

#include "explorer/frame_marks.h"
#include "explorer/frame_renderer.h"

namespace vantu::explorer {

// A whole frame, drawn for one description.
struct Frame {
    QImage image;  // FrameRenderer's, at the description's ratio, with the marks asked for
    PictureDescription description;
    OverlayOptions overlays;         // marked over the picture; all off, the plain picture
    std::vector<FrameLabel> labels;  // painted into the image
    double milliseconds = 0.0;       // how long it took to draw
    std::uint64_t generation = 0;    // the request it answers
    // The picture drawn, prepared for `description` and `overlays`: what its pixels show.
    std::shared_ptr<const PreparedPicture> picture;
};

// Draws frames away from the interface thread, which never waits for one. Each request gets a
// generation, one higher than the last; a thread of its own draws the newest request with a
// FrameRenderer, its threads giving way to the interface's, and hands the frame, or the
// failure, back on the thread the source lives on. Where no thread can be started for it, the
// frames are drawn on the source's own thread between its events, and that is said once.
// A newer request abandons the frame in progress within a row per thread, unless the screen
// has gone without a frame for longer than `patience`: then that frame is finished first, so
// that a stream of requests faster than frames still shows a frame every so often. Frames and
// failures come in increasing generations; a frame's whole image is of its own description.
class FrameSource : public QObject {
    Q_OBJECT

public:
    // How long the screen may go without a frame before a frame in progress is finished rather
    // than abandoned: three frames of a 60 Hz display.
    static constexpr std::chrono::milliseconds patience{50};

    explicit FrameSource(FrameOptions options = {}, QObject* parent = nullptr);

    // Abandons the frame in progress and waits for the drawing thread to end: a few rows.
    ~FrameSource() override;

    // Asks for a frame of `description`, with `marks` over it (the prepared picture's overlay
    // painted into each row as it is drawn, then frameLabels' labels), and returns its
    // generation. Never waits for a frame. The triangle is solved once for as long as the
    // requests draw it: a new view, size, sampling, R or projection reuses it
    // (PreparedPicture::redescribed).
    std::uint64_t request(const PictureDescription& description, const FrameMarks& marks = {});

    // Hands back the image of a frame no longer shown, for the drawing thread to draw into or
    // let go: the interface thread neither waits for nor frees a frame's memory.
    void recycle(QImage image);

    // The generation of the newest request; 0 before the first.
    [[nodiscard]] std::uint64_t newestRequest() const noexcept { return m_newest.load(); }

Q_SIGNALS:
    // A frame is done; emitted on the source's thread.
    void frameReady(const vantu::explorer::Frame& frame);

    // The request `generation` cannot be drawn: `message` is the drawing's own sentence, such
    // as "the scale R is 0: division by zero in row 0"; emitted on the source's thread.
    void frameFailed(const QString& message, std::uint64_t generation);

    // Fewer threads could be started than wanted, in a sentence: said once for the drawing
    // thread and once for the threads that share a frame.
    void fewerThreads(const QString& message);

    // The facts of the triangle of the request about to be drawn (factsText), told whenever the
    // triangle differs from the last one told, before its frame or its failure; emitted on the
    // source's thread.
    void factsReady(const QString& facts);

private:
    struct Request {
        PictureDescription description;
        FrameMarks marks;
        std::uint64_t generation = 0;
    };

    // The drawing thread: draws the newest request, again and again, until told to end.
    void drawFrames();

    // Draws the pending request and hands back its frame or failure; `lock` holds m_mutex and
    // is let go meanwhile.
    void drawPending(std::unique_lock<std::mutex>& lock);

    // Whether the frame of `generation` in progress is to be abandoned.
    [[nodiscard]] bool abandons(std::uint64_t generation) const noexcept;

    // Tells the facts of the triangle of `request` when they are not the last told: those of
    // `picture`, prepared for it, or without one (its set-up failed) factsText's for `request`.
    void tellFacts(const DrawRequest& request, const PreparedPicture* picture);

    // The picture of `request`, prepared from the last one when that drew the same triangle.
    [[nodiscard]] std::shared_ptr<const PreparedPicture> prepare(const Request& request) const;

    FrameRenderer m_renderer;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Request> m_pending;  // the newest request not yet begun
    std::vector<QImage> m_returned;    // images handed back, for the drawing thread
    bool m_ending = false;
    std::atomic<bool> m_endingNow{false};
    std::atomic<std::uint64_t> m_newest{0};
    // When the last frame was handed back, in steady-clock ticks.
    std::atomic<std::chrono::steady_clock::rep> m_lastFrame{0};
    std::optional<DrawRequest> m_factsTold;  // the triangle whose facts were told last
    // The last picture prepared, whose solved triangle the next one of the same triangle reuses.
    std::shared_ptr<const PreparedPicture> m_prepared;
    std::thread m_thread;  // started once everything else is ready; none when it cannot start
};

}  // namespace vantu::explorer
