// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "options/picture_options.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <stdexcept>

#include "geometry/projection.h"
#include "geometry/raster.h"
#include "options/option_kinds.h"
#include "setup/triangle_notation.h"

namespace vantu::options {
namespace detail {
namespace {

// The options' names, for their declarations and for renderArguments.
constexpr const char* code = "--code";
constexpr const char* triangle = "--triangle";
constexpr const char* rotation = "--rotation";
constexpr const char* reverse = "--reverse";
constexpr const char* scale = "--scale";
constexpr const char* projection = "--projection";
constexpr const char* view = "--view";
constexpr const char* size = "--size";
constexpr const char* zoom = "--zoom";
constexpr const char* antialias = "--antialias";

Choices<int> rotations() {
    Choices<int> choices;
    for (int r = 0; r < 3; ++r) {
        choices.emplace_back(std::to_string(r), r);
    }
    return choices;
}

Choices<Projection> projections() {
    Choices<Projection> choices;
    for (const ProjectionName& p : projectionNames) {
        choices.emplace_back(std::string(p.name), p.projection);
    }
    return choices;
}

bool isFinite(const View& v) {
    return std::isfinite(v.lon) && std::isfinite(v.lat) && std::isfinite(v.roll);
}

}  // namespace

// The three angles of `text` between its commas, or why it has not three.
std::optional<std::array<std::string_view, 3>> viewAngles(std::string_view text) {
    std::array<std::string_view, 3> angles{};
    std::size_t count = 0;
    std::size_t start = 0;
    for (std::size_t end = text.find(','); start <= text.size(); end = text.find(',', start)) {
        end = std::min(end, text.size());
        if (count < angles.size()) {
            angles[count] = text.substr(start, end - start);
        }
        ++count;
        start = end + 1;
    }
    return count == angles.size() ? std::optional(angles) : std::nullopt;
}

std::optional<View> readView(std::string_view text) {
    const auto angles = viewAngles(text);
    if (!angles) {
        return std::nullopt;
    }
    std::array<double, 3> degrees{};
    for (std::size_t i = 0; i < degrees.size(); ++i) {
        const std::optional<double> angle = decimalNumber((*angles)[i]);
        if (!angle) {
            return std::nullopt;
        }
        degrees[i] = *angle;
    }
    return View{degrees[0], degrees[1], degrees[2]};
}

std::string viewFault(std::string_view text) {
    const auto angles = viewAngles(text);
    if (!angles) {
        const std::size_t commas =
            static_cast<std::size_t>(std::count(text.begin(), text.end(), ','));
        return "it has " + std::to_string(commas + 1) + " numbers, not 3";
    }
    constexpr std::array<const char*, 3> names = {"LON", "LAT", "ROLL"};
    for (std::size_t i = 0; i < angles->size(); ++i) {
        if ((*angles)[i].empty()) {
            return std::string(names[i]) + " is empty";
        }
        if (const std::optional<std::string> fault = decimalNumberFault((*angles)[i])) {
            return std::string(names[i]) + " " + inQuotes((*angles)[i]) + " " + *fault;
        }
    }
    return {};
}

std::optional<PictureSize> readSize(std::string_view text) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) {
        return std::nullopt;
    }
    const Reader<int> side = wholeNumber(1, maxPictureSide);
    const std::optional<int> width = side.read(text.substr(0, x));
    const std::optional<int> height = side.read(text.substr(x + 1));
    if (!width || !height) {
        return std::nullopt;
    }
    return PictureSize{*width, *height};
}

std::string viewText(const View& v) {
    return formatNumber(v.lon) + "," + formatNumber(v.lat) + "," + formatNumber(v.roll);
}

std::string sizeText(PictureSize s) {
    return std::to_string(s.width) + "x" + std::to_string(s.height);
}

}  // namespace detail

DrawingOptions addDrawingOptions(CLI::App& app, PictureOptions& target) {
    DrawRequest& request = target.description.request;
    DrawingOptions options;
    const auto setTriangle = [&request](TriangleNotation notation) {
        return [&request, notation](const std::string& text) {
            request.triangleCode = text;
            request.notation = notation;
        };
    };
    options.code = addChecked(app, {detail::code, "TEXT", "the triangle code"},
                              setTriangle(TriangleNotation::code), CLI::Validator(),
                              "\"" + std::string(catalogue.front()) + "\"");
    options.triangle = addChecked(
        app,
        {detail::triangle, "\"P Q R\"",
         "the triangle in the usual notation instead of a code: three numbers p q r separated "
         "by blanks, each a whole number n, the angle 180/n degrees, or a fraction n/d, d times "
         "that; \"2 3 3\" is the code \"300 2/1:3/1:3/1\", \"5/2 3 3\" the code \"510 "
         "5/2:3/1:3/1\""},
        setTriangle(TriangleNotation::schwarz),
        CLI::Validator(
            [](const std::string& text) { return schwarzNotationFault(text).value_or(""); }, ""),
        "");
    options.triangle->excludes(options.code);
    options.rotation = addChoice(app, {detail::rotation, "", "cyclic rotation of the three angles"},
                                 detail::rotations(), request.rotation);
    options.reverse =
        addFlag(app, {detail::reverse, "", "exchange the first two angles after the rotation"},
                request.reverse);
    options.scale = addText(
        app, {detail::scale, "TEXT", "the scale box's text; its leading number is R in pixels"},
        target.scaleText);
    options.projection = addChoice(app, {detail::projection, "", "the projection"},
                                   detail::projections(), request.projection);
    options.view = addRead<View>(
        app,
        {detail::view, "LON,LAT,ROLL",
         "the sphere turned by LON degrees about the vertical axis (the front to the right), then "
         "LAT about the horizontal one (the front down), then ROLL about the axis towards the "
         "viewer (counter-clockwise)"},
        target.description.view,
        {"three numbers LON,LAT,ROLL in degrees", detail::readView, detail::viewFault},
        detail::viewText(View{}));
    return options;
}

CLI::Option* addSizeOption(CLI::App& app, PictureOptions& target) {
    return addRead<PictureSize>(
        app,
        {detail::size, "WxH",
         "the picture's width and height in window pixels, R staying the same"},
        target.description.size,
        {"WIDTHxHEIGHT, two whole numbers from 1 to " + std::to_string(maxPictureSide),
         detail::readSize},
        detail::sizeText(PictureSize{}));
}

SamplingOptions addSamplingOptions(CLI::App& app, PictureOptions& target) {
    Sampling& sampling = target.description.sampling;
    const std::string range = "from " + formatNumber(minRatio) + " to " + formatNumber(maxRatio);
    SamplingOptions options;
    options.zoom = addRead<double>(
        app,
        {detail::zoom, "K",
         "the same view K times finer, " + std::to_string(pictureWidth) + "K x " +
             std::to_string(pictureHeight) + "K pixels for the default size, " + range +
             "; 1 is the window's picture bit for bit, and a screen's ratio such as 1.25 or 1.5 "
             "the window's picture on that screen"},
        sampling.ratio,
        {"a number " + range,
         [](std::string_view text) -> std::optional<double> {
             const std::optional<double> k = decimalNumber(text);
             return k && isSupported(Sampling{*k, 1}) ? k : std::nullopt;
         }},
        formatNumber(Sampling{}.ratio));
    options.antialias =
        addWholeNumber(app, {detail::antialias, "N", "average N x N samples per pixel"},
                       sampling.antialias, {1, maxAntialias, ""});
    return options;
}

PictureDescription describedPicture(const PictureOptions& options) {
    PictureDescription description = options.description;
    description.request.scale = readScale(options.scaleText);
    return description;
}

std::vector<std::string> renderArguments(const PictureDescription& description) {
    const DrawRequest& r = description.request;
    if (!std::isfinite(r.scale) || !detail::isFinite(description.view) || r.rotation < 0 ||
        r.rotation > 2 || !isSupported(description.size) || !isSupported(description.sampling)) {
        throw std::invalid_argument("no command line describes this picture");
    }
    const bool schwarz = r.notation == TriangleNotation::schwarz;
    if (schwarz && schwarzNotationFault(r.triangleCode)) {
        throw std::invalid_argument("no command line describes this triangle");
    }
    std::vector<std::string> args = {schwarz ? detail::triangle : detail::code, r.triangleCode,
                                     detail::rotation, std::to_string(r.rotation)};
    if (r.reverse) {
        args.emplace_back(detail::reverse);
    }
    args.insert(args.end(), {detail::scale, formatNumber(r.scale), detail::projection,
                             std::string(projectionName(r.projection)), detail::view,
                             detail::viewText(description.view), detail::size,
                             detail::sizeText(description.size)});
    if (description.sampling.ratio != 1.0) {
        args.insert(args.end(), {detail::zoom, formatNumber(description.sampling.ratio)});
    }
    if (description.sampling.antialias != 1) {
        args.insert(args.end(),
                    {detail::antialias, std::to_string(description.sampling.antialias)});
    }
    return args;
}

namespace {

// `word` in $'...': the pieces escapeText keeps as they are, with \ and ' after a backslash,
// and the bytes of every piece it escapes as escapes.
std::string dollarQuoted(std::string_view word) {
    std::string quoted = "$'";
    while (!word.empty()) {
        const TextPiece piece = firstTextPiece(word);
        for (const char c : word.substr(0, piece.length)) {
            if (piece.kind == TextPiece::Kind::kept) {
                if (c == '\\' || c == '\'') {
                    quoted += '\\';
                }
                quoted += c;
            } else if (c == '\n' || c == '\r' || c == '\t') {
                quoted += c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t";
            } else {
                // Three octal digits, which no digit after them can lengthen.
                const auto byte = static_cast<unsigned char>(c);
                quoted += {'\\', static_cast<char>('0' + (byte >> 6U)),
                           static_cast<char>('0' + ((byte >> 3U) & 7U)),
                           static_cast<char>('0' + (byte & 7U))};
            }
        }
        word.remove_prefix(piece.length);
    }
    return quoted + "'";
}

}  // namespace

std::string shellQuoted(const std::vector<std::string>& words) {
    const auto plain = [](const std::string& word) {
        return !word.empty() && word.find_first_not_of(
                                    "abcdefghijklmnopqrstuvwxyz"
                                    "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
                                    "@%+=:,./-_") == std::string::npos;
    };
    std::string line;
    for (const std::string& word : words) {
        if (!line.empty()) {
            line += ' ';
        }
        if (plain(word)) {
            line += word;
            continue;
        }
        if (escapeText(word) != word) {
            line += dollarQuoted(word);
            continue;
        }
        line += '\'';
        for (const char c : word) {
            line += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        line += '\'';
    }
    return line;
}

}  // namespace vantu::options
