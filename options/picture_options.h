// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// options/: what Vantu's programs share about a picture's command line: the options that
// describe a picture, declared once with their checks and messages for any CLI::App, and the
// arguments that describe a given picture again. No I/O.

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/draw_procedure.h"
#include "geometry/text.h"

namespace vantu::options {

// What the picture options of a command line give. Each defaults to the window's start-up
// picture.
struct PictureOptions {
    PictureDescription description;  // all but request.scale, which is read from scaleText
    std::string scaleText = formatNumber(DrawRequest{}.scale);  // as --scale gives it
};

// The drawing options as declared, for the caller's own rules (needs, excludes) and groups.
struct DrawingOptions {
    CLI::Option* code = nullptr;
    CLI::Option* triangle = nullptr;  // excludes `code`
    CLI::Option* rotation = nullptr;
    CLI::Option* reverse = nullptr;
    CLI::Option* scale = nullptr;
    CLI::Option* projection = nullptr;
    CLI::Option* view = nullptr;
};

// Declares the drawing options in `app`, each filling its part of `target`, which must outlive
// the parse: --code TEXT (a code, taken as it is), --triangle "P Q R" (the usual notation, which
// schwarzNotationFault must accept; excludes --code), --rotation 0|1|2, --reverse, --scale TEXT
// (the text, read later by describedPicture), --projection stereo|gnome|ortho|halfplane and --view
// LON,LAT,ROLL (three plain decimal numbers). --code and --triangle set the request's text and
// its notation. A value they refuse stops the parse with CLI::ValidationError, such as
// "--rotation: must be 0, 1 or 2, not '3'" or "--triangle: " and schwarzNotationFault's message,
// which ends with the form of the notation. They take app.option_defaults(), such as the group.
DrawingOptions addDrawingOptions(CLI::App& app, PictureOptions& target);

// Declares --size WxH: two whole numbers from 1 to maxPictureSide, in window pixels.
CLI::Option* addSizeOption(CLI::App& app, PictureOptions& target);

// The sampling options as declared.
struct SamplingOptions {
    CLI::Option* zoom = nullptr;
    CLI::Option* antialias = nullptr;
};

// Declares --zoom K (a plain decimal number from minRatio to maxRatio: a whole zoom or a
// screen's ratio) and --antialias N (1 to maxAntialias).
SamplingOptions addSamplingOptions(CLI::App& app, PictureOptions& target);

// The picture the options describe, the scale read from its text by readScale. Throws DrawError
// as readScale does, for a number beyond the range of doubles.
[[nodiscard]] PictureDescription describedPicture(const PictureOptions& options);

// The arguments of vantu-render, without the program name and without -o, that describe
// exactly `description` to the options above: --code, or --triangle for a request in the usual
// notation, --rotation, --reverse when set, --scale,
// --projection, --view and --size always, --zoom and --antialias when not 1, each value as an
// argument of its own. Every number is written as formatNumber writes it, the shortest text
// that reads back as the same double, whether through readScale or through the view and zoom
// readers. Throws std::invalid_argument for what no command line gives: a scale or an angle
// that is not finite, a rotation other than 0, 1 or 2, a size or a sampling out of range, a text
// in the usual notation that --triangle refuses.
[[nodiscard]] std::vector<std::string> renderArguments(const PictureDescription& description);

// `words` as one command line for a POSIX shell, separated by blanks: a word of nothing but
// ASCII letters, digits and the characters @ % + = : , . / - _ as it is; a word with a
// character that escapeText escapes in messages (a control character, a bidirectional mark, a
// line separator, a byte that is not UTF-8) in $'...', so that the line reads as what runs:
// each byte of such a character as \n, \r, \t or \ and three octal digits, and \ and ' after
// a backslash (bash, zsh, ksh and the shells of POSIX.1-2024 read it, the dash of Debian 12
// does not); every other word (the empty word too) in single quotes, each ' in it written as
// '\''.
[[nodiscard]] std::string shellQuoted(const std::vector<std::string>& words);

namespace detail {

// "LON,LAT,ROLL": three plain decimal numbers (decimalNumber); nothing for anything else.
[[nodiscard]] std::optional<View> readView(std::string_view text);

// Why readView refuses `text`: "it has 2 numbers, not 3", or the first angle that does not read
// named and quoted with decimalNumberFault's reason, as in "LAT ' 2' has a blank"; empty when it
// reads.
[[nodiscard]] std::string viewFault(std::string_view text);

// "WxH": two whole numbers from 1 to maxPictureSide in plain decimal; nothing for anything else.
[[nodiscard]] std::optional<PictureSize> readSize(std::string_view text);

// The texts readView and readSize read back as `view` and `size`.
[[nodiscard]] std::string viewText(const View& view);
[[nodiscard]] std::string sizeText(PictureSize size);

}  // namespace detail
}  // namespace vantu::options
