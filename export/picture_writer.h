// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// Every picture file Vantu writes, whatever its type: PNG with libspng, lossless WebP (still or
// animated) with libwebp, each into an OutputFile and so written completely or not at all.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "export/output_file.h"
#include "export/png_writer.h"
#include "geometry/raster.h"

namespace vantu {

// The types of picture file.
enum class PictureType {
    png,
    webp,  // lossless
};

// The type a file name asks for: PNG for a name ending in ".png" and for "-" (the standard
// output), WebP for one ending in ".webp", in any case (".PNG", ".WebP"); nothing for any other
// name, nor for a file called just ".png" or ".webp", in any folder.
[[nodiscard]] std::optional<PictureType> pictureTypeOf(std::string_view name) noexcept;

// libwebp's limit on each side of a picture, in pixels.
inline constexpr int maxWebpSide = 16383;

// A picture file of one type, its rows given one after the other from the top. A PNG is encoded
// as the rows come (see PngWriter); a WebP keeps the rows and is encoded by finish().
class PictureWriter {
public:
    // Begins a picture of `format` (whose palette only a PNG uses) in `out`, which must outlive
    // the writer. Throws std::invalid_argument for a size or palette out of range (for a WebP,
    // a side over maxWebpSide), WriteError and std::bad_alloc.
    PictureWriter(OutputFile& out, PictureType type, const PngFormat& format);
    PictureWriter(const PictureWriter&) = delete;
    PictureWriter& operator=(const PictureWriter&) = delete;
    ~PictureWriter();

    // How many bytes encodePixels makes of a row.
    [[nodiscard]] std::size_t rowBytes() const noexcept;

    // The bytes that the file is made of for `row` (the format's width of colours), into `bytes`
    // (rowBytes() of them). Changes nothing in the writer, so that threads can prepare rows while
    // another writes them. Throws std::invalid_argument for a colour not in a PNG's palette or
    // spans of the wrong sizes.
    void encodePixels(std::span<const PackedColour> row, std::span<std::uint8_t> bytes) const;

    // Adds the next row, as encodePixels prepared it. Throws std::logic_error after the last
    // row, std::invalid_argument for the wrong size, WriteError and std::bad_alloc.
    void writeEncodedRow(std::span<const std::uint8_t> bytes);

    // encodePixels, then writeEncodedRow.
    void writeRow(std::span<const PackedColour> row);

    // After the last row, ends the file; the OutputFile then holds all of it, to be committed.
    // Throws std::logic_error when rows are missing, WriteError and std::bad_alloc.
    void finish();

private:
    struct Webp;
    std::unique_ptr<PngWriter> m_png;
    std::unique_ptr<Webp> m_webp;
};

// Fills `out` with row `row` of a picture (out.size() is its width). Rows are asked in order,
// from 0.
using PictureRows = std::function<void(int row, std::span<PackedColour> out)>;

// Writes the picture `rows` gives as a file of `type` and `format` at `path`, completely or not
// at all (see OutputFile::replacing, which `wait` goes to). Throws WriteError naming the file
// with the reason, std::invalid_argument as PictureWriter does and std::bad_alloc; whatever
// `rows` throws passes through. On any exception the file at `path` is as it was.
void writePicture(const std::filesystem::path& path, PictureType type, const PngFormat& format,
                  const PictureRows& rows, ReaderWait wait = ReaderWait::unbounded);

// The lossless effort of an animation's frames, as libwebp's WebPConfigLosslessPreset takes it
// (0, fastest, to 9, smallest); libwebp's own default is 6. The animation is the turntable's
// bottleneck: at 0 a 1920 x 1080 frame costs about twice its PNG, half of what it costs at 6,
// for a file about as large (BM_EncodeFrame).
inline constexpr int animationEffort = 0;

// About how much memory AnimatedWebpWriter takes while it encodes a frame of `width` x `height`
// pixels, beside the frame it is given and the animation encoded so far: libwebp's copy of the
// frame and its encoder's state, at animationEffort.
[[nodiscard]] std::uint64_t animationFrameMemory(int width, int height) noexcept;

// An animated, lossless WebP, its frames given in order, each encoded as it comes into a whole
// picture of its own (libwebp's WebPEncode) and put into the animation with libwebp's muxer; it
// plays in a loop, frame k shown from k * 1000 / fps milliseconds. The encoded frames stay in
// memory until finish(), which assembles the file there: about twice its size.
class AnimatedWebpWriter {
public:
    // Begins an animation of `width` x `height` pixels (1 to maxWebpSide each) at `fps` frames
    // a second (at least 1) into `out`, which must outlive the writer, each frame encoded at the
    // lossless `effort`. Throws std::invalid_argument for values out of range, std::bad_alloc.
    AnimatedWebpWriter(OutputFile& out, int width, int height, int fps,
                       int effort = animationEffort);
    AnimatedWebpWriter(const AnimatedWebpWriter&) = delete;
    AnimatedWebpWriter& operator=(const AnimatedWebpWriter&) = delete;
    ~AnimatedWebpWriter();

    // Encodes the next frame: `pixels` holds its rows one after the other from the top. Throws
    // std::invalid_argument for the wrong number of pixels, WriteError when the encoder fails,
    // std::bad_alloc.
    void addFrame(std::span<const PackedColour> pixels);

    // After the last frame (at least one), writes the whole animation into the OutputFile, to
    // be committed. Throws std::logic_error without a frame, WriteError and std::bad_alloc.
    void finish();

private:
    struct Encoder;
    std::unique_ptr<Encoder> m_encoder;
};

}  // namespace vantu
