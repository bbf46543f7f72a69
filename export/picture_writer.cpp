// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "export/picture_writer.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "export/file_name.h"

namespace vantu {
namespace detail {
namespace {

void checkWebpSize(int width, int height) {
    if (width < 1 || height < 1 || width > maxWebpSide || height > maxWebpSide) {
        throw std::invalid_argument("a WebP is 1 to " + std::to_string(maxWebpSide) +
                                    " pixels on a side, not " + std::to_string(width) + " x " +
                                    std::to_string(height));
    }
}

// libwebp's encoder, told to keep every pixel as it is; at its own default effort, or at the
// lossless `effort` (0 to 9) when one is given.
WebPConfig losslessConfig(int effort = -1) {
    WebPConfig config;
    if (WebPConfigInit(&config) == 0) {
        throw std::logic_error("libwebp's header and library do not match");
    }
    if (effort >= 0 && WebPConfigLosslessPreset(&config, effort) == 0) {
        throw std::invalid_argument("libwebp's lossless effort is 0 to 9, not " +
                                    std::to_string(effort));
    }
    config.lossless = 1;
    config.exact = 1;
    return config;
}

// Why libwebp failed, as a WriteError of `out` (or std::bad_alloc when it ran out of memory).
[[noreturn]] void webpFailed(const OutputFile& out, WebPEncodingError error) {
    if (error == VP8_ENC_ERROR_OUT_OF_MEMORY || error == VP8_ENC_ERROR_BITSTREAM_OUT_OF_MEMORY) {
        throw std::bad_alloc();
    }
    throw WriteError(out.target(), 0,
                     "the WebP encoder failed (libwebp error " + std::to_string(error) + ")");
}

}  // namespace
}  // namespace detail

std::optional<PictureType> pictureTypeOf(std::string_view name) noexcept {
    if (name == "-") {
        return PictureType::png;
    }
    if (fileNameEndsWith(name, ".png")) {
        return PictureType::png;
    }
    if (fileNameEndsWith(name, ".webp")) {
        return PictureType::webp;
    }
    return std::nullopt;
}

// A still WebP: the rows as red, green and blue, encoded at the end.
struct PictureWriter::Webp {
    OutputFile& out;
    int width = 0;
    int height = 0;
    int rowsWritten = 0;
    std::vector<std::uint8_t> rgb;
};

PictureWriter::PictureWriter(OutputFile& out, PictureType type, const PngFormat& format) {
    if (type == PictureType::png) {
        m_png = std::make_unique<PngWriter>(out, format);
        return;
    }
    detail::checkWebpSize(format.width, format.height);
    m_webp = std::make_unique<Webp>(Webp{out, format.width, format.height, 0, {}});
    m_webp->rgb.reserve(static_cast<std::size_t>(format.width) *
                        static_cast<std::size_t>(format.height) * 3);
}

PictureWriter::~PictureWriter() = default;

std::size_t PictureWriter::rowBytes() const noexcept {
    return m_png ? m_png->rowBytes() : static_cast<std::size_t>(m_webp->width) * 3;
}

void PictureWriter::encodePixels(std::span<const PackedColour> row,
                                 std::span<std::uint8_t> bytes) const {
    if (m_png) {
        m_png->encodePixels(row, bytes);
        return;
    }
    if (row.size() != static_cast<std::size_t>(m_webp->width) || bytes.size() != rowBytes()) {
        throw std::invalid_argument("a row of the WebP holds " + std::to_string(m_webp->width) +
                                    " colours in " + std::to_string(rowBytes()) + " bytes, not " +
                                    std::to_string(row.size()) + " in " +
                                    std::to_string(bytes.size()));
    }
    rgbBytes(row, bytes.data());
}

void PictureWriter::writeEncodedRow(std::span<const std::uint8_t> bytes) {
    if (m_png) {
        m_png->writeEncodedRow(bytes);
        return;
    }
    Webp& w = *m_webp;
    if (w.rowsWritten == w.height) {
        throw std::logic_error("every row of the WebP is written");
    }
    if (bytes.size() != rowBytes()) {
        throw std::invalid_argument("a row of the WebP holds " + std::to_string(rowBytes()) +
                                    " bytes, not " + std::to_string(bytes.size()));
    }
    w.rgb.insert(w.rgb.end(), bytes.begin(), bytes.end());
    ++w.rowsWritten;
}

void PictureWriter::writeRow(std::span<const PackedColour> row) {
    std::vector<std::uint8_t> bytes(rowBytes());
    encodePixels(row, bytes);
    writeEncodedRow(bytes);
}

void PictureWriter::finish() {
    if (m_png) {
        m_png->finish();
        return;
    }
    Webp& w = *m_webp;
    if (w.rowsWritten != w.height) {
        throw std::logic_error("the WebP has " + std::to_string(w.rowsWritten) + " of its " +
                               std::to_string(w.height) + " rows");
    }
    WebPConfig config = detail::losslessConfig();
    WebPPicture picture;
    if (WebPPictureInit(&picture) == 0) {
        throw std::logic_error("libwebp's header and library do not match");
    }
    picture.use_argb = 1;
    picture.width = w.width;
    picture.height = w.height;
    WebPMemoryWriter memory;
    WebPMemoryWriterInit(&memory);
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &memory;
    const bool encoded = WebPPictureImportRGB(&picture, w.rgb.data(), w.width * 3) != 0 &&
                         WebPEncode(&config, &picture) != 0;
    const WebPEncodingError error = picture.error_code;
    WebPPictureFree(&picture);
    if (!encoded) {
        WebPMemoryWriterClear(&memory);
        detail::webpFailed(w.out, error);
    }
    try {
        w.out.write({reinterpret_cast<const std::byte*>(memory.mem), memory.size});
    } catch (...) {
        WebPMemoryWriterClear(&memory);
        throw;
    }
    WebPMemoryWriterClear(&memory);
}

void writePicture(const std::filesystem::path& path, PictureType type, const PngFormat& format,
                  const PictureRows& rows, ReaderWait wait) {
    OutputFile file = OutputFile::replacing(path, wait);
    PictureWriter writer(file, type, format);
    std::vector<PackedColour> row(static_cast<std::size_t>(format.width));
    for (int r = 0; r < format.height; ++r) {
        rows(r, row);
        writer.writeRow(row);
    }
    writer.finish();
    file.commit();
}

std::uint64_t animationFrameMemory(int width, int height) noexcept {
    // libwebp 1.2 at effort 0, measured as the peak of a turntable beyond its own frames: 12
    // bytes a pixel for a frame of few colours, 14 for an antialiased one; with room to spare.
    constexpr std::uint64_t bytesPerPixel = 16;
    constexpr std::uint64_t fixed = std::uint64_t{4} << 20U;
    return fixed + bytesPerPixel * static_cast<std::uint64_t>(std::max(width, 0)) *
                       static_cast<std::uint64_t>(std::max(height, 0));
}

struct AnimatedWebpWriter::Encoder {
    OutputFile& out;
    int width;
    int height;
    int fps;
    WebPConfig config;
    int frames = 0;
    WebPMux* mux = nullptr;
    Encoder(OutputFile& file, int w, int h, int f, int effort)
        : out(file), width(w), height(h), fps(f), config(detail::losslessConfig(effort)) {}
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
    ~Encoder() { WebPMuxDelete(mux); }

    // When frame `k` begins, in milliseconds.
    [[nodiscard]] int timestamp(int k) const {
        return static_cast<int>(static_cast<long long>(k) * 1000 / fps);
    }

    // Throws for what libwebp's muxer says went wrong.
    void check(WebPMuxError error) const {
        if (error == WEBP_MUX_MEMORY_ERROR) {
            throw std::bad_alloc();
        }
        if (error != WEBP_MUX_OK) {
            throw WriteError(out.target(), 0,
                             "the WebP muxer failed (libwebp error " + std::to_string(error) + ")");
        }
    }
};

AnimatedWebpWriter::AnimatedWebpWriter(OutputFile& out, int width, int height, int fps,
                                       int effort) {
    detail::checkWebpSize(width, height);
    if (fps < 1) {
        throw std::invalid_argument("an animation shows at least 1 frame a second");
    }
    m_encoder = std::make_unique<Encoder>(out, width, height, fps, effort);
    m_encoder->mux = WebPMuxNew();
    if (m_encoder->mux == nullptr) {
        throw std::bad_alloc();
    }
}

AnimatedWebpWriter::~AnimatedWebpWriter() = default;

void AnimatedWebpWriter::addFrame(std::span<const PackedColour> pixels) {
    Encoder& e = *m_encoder;
    const auto count = static_cast<std::size_t>(e.width) * static_cast<std::size_t>(e.height);
    if (pixels.size() != count) {
        throw std::invalid_argument("a frame of the WebP holds " + std::to_string(count) +
                                    " pixels, not " + std::to_string(pixels.size()));
    }
    WebPPicture picture;
    if (WebPPictureInit(&picture) == 0) {
        throw std::logic_error("libwebp's header and library do not match");
    }
    picture.use_argb = 1;
    picture.width = e.width;
    picture.height = e.height;
    if (WebPPictureAlloc(&picture) == 0) {
        throw std::bad_alloc();
    }
    for (int y = 0; y < e.height; ++y) {
        std::uint32_t* line = picture.argb + static_cast<std::ptrdiff_t>(y) * picture.argb_stride;
        const PackedColour* colours =
            pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(e.width);
        for (int x = 0; x < e.width; ++x) {
            const PackedColour c = colours[x];
            line[x] = 0xFF000000U | (static_cast<std::uint32_t>(redOf(c)) << 16U) |
                      (static_cast<std::uint32_t>(greenOf(c)) << 8U) |
                      static_cast<std::uint32_t>(blueOf(c));
        }
    }
    // Every frame a whole picture of its own, which is both smaller and quicker to make than
    // libwebp's frames of differences when the whole sphere turns.
    WebPMemoryWriter memory;
    WebPMemoryWriterInit(&memory);
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &memory;
    const bool encoded = WebPEncode(&e.config, &picture) != 0;
    const WebPEncodingError error = picture.error_code;
    WebPPictureFree(&picture);
    if (!encoded) {
        WebPMemoryWriterClear(&memory);
        detail::webpFailed(e.out, error);
    }
    WebPMuxFrameInfo frame{};
    frame.bitstream = {memory.mem, memory.size};
    frame.id = WEBP_CHUNK_ANMF;
    frame.duration = e.timestamp(e.frames + 1) - e.timestamp(e.frames);
    frame.dispose_method = WEBP_MUX_DISPOSE_NONE;
    frame.blend_method = WEBP_MUX_NO_BLEND;
    const WebPMuxError pushed = WebPMuxPushFrame(e.mux, &frame, 1);
    WebPMemoryWriterClear(&memory);
    e.check(pushed);
    ++e.frames;
}

void AnimatedWebpWriter::finish() {
    Encoder& e = *m_encoder;
    if (e.frames == 0) {
        throw std::logic_error("an animation needs a frame");
    }
    const WebPMuxAnimParams loop{0xFFFFFFFFU, 0};  // a white background, played forever
    e.check(WebPMuxSetAnimationParams(e.mux, &loop));
    e.check(WebPMuxSetCanvasSize(e.mux, e.width, e.height));
    WebPData data;
    WebPDataInit(&data);
    e.check(WebPMuxAssemble(e.mux, &data));
    // The frames are in the file now.
    WebPMuxDelete(std::exchange(e.mux, nullptr));
    try {
        e.out.write({reinterpret_cast<const std::byte*>(data.bytes), data.size});
    } catch (...) {
        WebPDataClear(&data);
        throw;
    }
    WebPDataClear(&data);
}

}  // namespace vantu
