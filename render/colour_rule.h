// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The colour rule, the one home of how a pixel's colour follows from its measures: the side
// count, the channel values, their packing and, backwards, which hue a colour is. The exact
// colouring (render/pixel_colour_inl.h), the palette, the fast kernels and the snub search all
// take it from here.
//
// A point's colour rests on three comparisons of the squared distances between its mirror
// images, one per channel: red D1 > D2, green D2 > D3, blue D3 > D1, and on its side count k,
// the number of mirrors with the point on their non-negative side (none counts as two). Channel
// value: round((sign * 127 + 128) * k / 3), sign -1 where the channel's comparison holds and +1
// where it does not. The three comparisons never all hold.

#include "geometry/raster.h"

namespace vantu::colour_rule {

// The side count from the number of mirrors (0 to 3) with the point on their non-negative
// side: none counts as two. Generic so that the fast kernels count in doubles.
template <class Count>
[[nodiscard]] constexpr Count sideCount(Count nonNegative) noexcept {
    return nonNegative == Count(0) ? Count(2) : nonNegative;
}

// round((sign * 127 + 128) * k / 3) for a sign of -1 or +1 and a side count of 1 to 3, ties to
// even. The numerator m is k or 255 k, never 1.5 modulo 3, so no tie arises and the rounding is
// (m + 1) / 3 in integers.
[[nodiscard]] constexpr int channelValue(int sign, int k) noexcept {
    return ((sign * 127 + 128) * k + 1) / 3;
}

// The same values in closed form, for the fast kernels' selects: a channel whose comparison
// holds is dim (0, 1, 1 for k = 1, 2, 3), one whose comparison does not is bright (85, 170, 255).
template <class Value>
[[nodiscard]] constexpr Value dimChannel(Value k) noexcept {
    return k > Value(1) ? Value(1) : Value(0);
}
template <class Value>
[[nodiscard]] constexpr Value brightChannel(Value k) noexcept {
    return Value(85) * k;
}

// The packed colour for the three comparisons (true: it holds) and a side count of 1 to 3.
[[nodiscard]] constexpr PackedColour colourOf(bool redHolds, bool greenHolds, bool blueHolds,
                                              int k) noexcept {
    const auto channel = [k](bool holds) { return channelValue(holds ? -1 : 1, k); };
    return packColour(channel(redHolds), channel(greenHolds), channel(blueHolds));
}

// What a colour of the rule says about its point.
struct Decoded {
    bool redHolds, greenHolds, blueHolds;  // the three comparisons
    int sideCount;                         // 1 to 3
    friend constexpr bool operator==(const Decoded&, const Decoded&) = default;
};

// The comparisons and the side count a colour of the rule was made from: a channel at most
// 1 is dim, its comparison held; the bright ones (at least one) are 85 k. Grey, which no point
// of the sphere gets, reads as no comparison holding.
[[nodiscard]] constexpr Decoded decode(PackedColour colour) noexcept {
    const int red = redOf(colour);
    const int green = greenOf(colour);
    const int blue = blueOf(colour);
    const int brightest = red > green ? (red > blue ? red : blue) : (green > blue ? green : blue);
    return {red < brightChannel(1), green < brightChannel(1), blue < brightChannel(1),
            brightest / brightChannel(1)};
}

// The hues of the rule: the six of the hue circle in its order, then grey, which is white in
// the triangle, where D1 = D2 = D3 and no comparison holds.
enum class Hue { red, yellow, green, cyan, blue, magenta, grey };
inline constexpr int hueCount = 7;

// Which comparisons hold in a hue.
struct HueRule {
    Hue hue;
    bool redHolds, greenHolds, blueHolds;
};

// Every hue with its comparisons, in the order of Hue. The smallest of D1, D2, D3 chooses the
// pair of hues and the largest the member of the pair: red D2 > D3 > D1, yellow D3 > D2 > D1,
// green D3 > D1 > D2, cyan D1 > D3 > D2, blue D1 > D2 > D3, magenta D2 > D1 > D3.
inline constexpr HueRule hueRules[hueCount] = {
    {Hue::red, false, true, true},    {Hue::yellow, false, false, true},
    {Hue::green, true, false, true},  {Hue::cyan, true, false, false},
    {Hue::blue, true, true, false},   {Hue::magenta, false, true, false},
    {Hue::grey, false, false, false},
};

// The hue of a colour's comparisons; grey for all three holding, which no point gets.
[[nodiscard]] constexpr Hue hueOf(const Decoded& d) noexcept {
    for (const HueRule& r : hueRules) {
        if (r.redHolds == d.redHolds && r.greenHolds == d.greenHolds &&
            r.blueHolds == d.blueHolds) {
            return r.hue;
        }
    }
    return Hue::grey;
}

// The colour of `hue` at side count `k` (1 to 3).
[[nodiscard]] constexpr PackedColour colourOf(Hue hue, int k) noexcept {
    const HueRule& r = hueRules[static_cast<int>(hue)];
    return colourOf(r.redHolds, r.greenHolds, r.blueHolds, k);
}

static_assert(
    [] {
        for (int h = 0; h < hueCount; ++h) {
            const Hue hue = hueRules[h].hue;
            if (static_cast<int>(hue) != h || hueOf(decode(colourOf(hue, 1))) != hue) {
                return false;
            }
        }
        return true;
    }(),
    "the hue table is in the order of Hue and decodes to itself");

static_assert(
    [] {
        for (int k = 1; k <= 3; ++k) {
            if (channelValue(-1, k) != dimChannel(k) || channelValue(1, k) != brightChannel(k)) {
                return false;
            }
        }
        return true;
    }(),
    "the closed form is the rule");

}  // namespace vantu::colour_rule
