// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// explorer/: the Explorer, a window of its own in which the sphere turns under the mouse, each
// frame the exact picture of its view. It sits beside window/ and uses its shared helpers.
//
// How the inputs turn the view and scale R. A drag, a key, the wheel or spinning leaves every
// angle at a hundredth of a degree (never -0), LON and ROLL in (-180, 180] and LAT in [-90, 90]
// on the sphere (in a plane LON and LAT are lengths, held within planeMoveLimit), and R at six
// significant digits, so that the view and R read back exactly from the short numbers the status
// bar, the file names and the copied command write.

#include <optional>

#include "geometry/geometry.h"
#include "geometry/vec3.h"
#include "geometry/view.h"

namespace vantu::explorer {

// A drag across the picture's whole height turns the sphere this far.
inline constexpr double dragDegreesPerHeight = 180.0;
// The arrow keys turn, and Page Up and Page Down roll, by this much.
inline constexpr double keyTurnDegrees = 5.0;
// One notch of the wheel multiplies R by this; up zooms in.
inline constexpr double wheelZoomFactor = 1.1;
// + and - multiply and divide R by this.
inline constexpr double keyZoomFactor = 1.25;
// Spinning turns LON by this much a second.
inline constexpr double spinDegreesPerSecond = 30.0;

// The largest LON or LAT, in degrees, that the view's boxes take in the plane of `geometry`
// (Euclidean or hyperbolic), either way. In the hyperbolic plane the hundredth of a degree below
// the length whose cosh overflows: a longer move can never be drawn, and one this long only
// where the normals and the picture's numbers stay finite, which the drawing checks and says.
// The Euclidean plane draws every move the boxes can hold to a hundredth; they stop at a billion
// degrees, some 17 million sides c, long past where its tilings repeat. On the sphere, 180.
[[nodiscard]] double planeMoveLimit(Geometry geometry) noexcept;
inline constexpr double hyperbolicMoveLimit = 40707.26;
inline constexpr double euclideanMoveLimit = 1e9;

// `degrees` at the nearest hundredth of a degree, brought into (-180, 180].
[[nodiscard]] double wrappedAngle(double degrees) noexcept;

// `degrees` at the nearest hundredth of a degree, held within [-90, 90].
[[nodiscard]] double clampedLatitude(double degrees) noexcept;

// `view` as the boxes show it and the Explorer draws it: each angle reduced (reducedDegrees) and
// brought into [-180, 180] by a whole turn, then, for a LAT beyond 90 either way, the same turn
// with LAT over the pole, 180 - LAT (or -180 - LAT), and LON and ROLL half a turn on. Exact, so
// that a view the boxes can show already, LON and ROLL in [-180, 180] and LAT in [-90, 90], is
// left as it is; 0 for an angle that is not finite.
[[nodiscard]] View boxedView(const View& view) noexcept;

// `view` as the boxes of `geometry` show it: on the sphere boxedView; in a plane LON and LAT held
// within planeMoveLimit (0 for one that is not finite) and ROLL as boxedView brings it.
[[nodiscard]] View heldView(const View& view, Geometry geometry) noexcept;

// `view` turned by the given angles, then wrapped and held as above.
[[nodiscard]] View turnedBy(const View& view, double lon, double lat, double roll) noexcept;

// The view a drag of (dx, dy) window pixels (x right, y down) from `start` gives, over a
// picture `height` window pixels high: right raises LON, down raises LAT.
[[nodiscard]] View dragged(const View& start, double dx, double dy, double height) noexcept;

// The view, its roll `start`'s, that brings the point `grabbed` of a plane to the point `shown`
// of the picture (homogeneous points of `geometry`'s plane, Euclidean or hyperbolic, as
// movedBack takes and gives them; a hyperbolic `grabbed` on the sheet, however far away), so that a
// grabbed plane follows the cursor: the move along the horizontal line that brings `grabbed` onto
// the hyperbola or the line of `shown`'s (unrolled) height, then the move along the vertical line
// onto `shown`. LON and LAT at hundredths of a degree and held within the boxes, within
// planeMoveLimit; nothing when either point is not a finite point of the plane.
[[nodiscard]] std::optional<View> grabbedView(const View& start, const Vec3& grabbed,
                                              const Vec3& shown, double pi,
                                              Geometry geometry) noexcept;

// In a plane the keys and spinning move and roll rather than turn: `view` moved by the given
// angles (as lengths, see moved), LON and LAT held within the boxes (planeMoveLimit) rather than
// wrapped, which in a plane would jump; on the sphere turnedBy.
[[nodiscard]] View movedBy(const View& view, double lon, double lat, double roll,
                           Geometry geometry) noexcept;

// The angle in degrees, counter-clockwise on the screen, that the line from the picture's
// centre sweeps from (fromX, fromY) to (toX, toY), window pixels relative to the centre with y
// down; in (-180, 180], 0 where either point is the centre.
[[nodiscard]] double sweptAngle(double fromX, double fromY, double toX, double toY) noexcept;

// The largest and smallest size of R that zooming reaches: the largest finite double and the
// smallest normal one, each at six significant digits.
inline constexpr double largestZoomedScale = 1.79769e308;
inline constexpr double smallestZoomedScale = 2.22508e-308;

// R multiplied by `factor`, at six significant digits, its size held within
// [smallestZoomedScale, largestZoomedScale], so that zooming never makes R infinite or 0 and
// always leads back. An R typed beyond that range stays where it is rather than go further; an
// R of 0 stays 0.
[[nodiscard]] double zoomed(double scale, double factor) noexcept;

}  // namespace vantu::explorer
