// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <string>

#include "drawing/draw_procedure.h"
#include "drawing/picture_overlay.h"
#include "polyhedron/wythoff.h"

namespace vantu::explorer {

// The vantu-render command line that draws exactly the described picture into the file "Save
// Picture As..." proposes for it (pictureFileName with ".png"): "vantu-render", the description's
// arguments (options::renderArguments), then -o and the name, every word quoted for a POSIX shell
// (options::shellQuoted), as in "vantu-render --code '300 2/1:3/1:3/1' --rotation 0 --scale 120
// --projection stereo --view 0,0,0 --size 700x560 -o 300-r0-stereo-view0,0,0-R120.png". With
// `marks.polyhedron`, --point with generatingPointText's text for marks.generatingPoint and
// --mark-polyhedron come before -o, so that the polyhedron's edges are drawn as the frame marks
// them; the other marks, whose labels vantu-render does not draw, are left out. Throws
// std::invalid_argument, as renderArguments does, for a description no command line gives.
[[nodiscard]] QString renderCommandLine(const PictureDescription& description,
                                        const OverlayOptions& marks = {});

// The file name a polyhedron of the triangle of `request` goes by, from the point that generates
// it: the picture's name without its projection, then "-vertexA", "-side1", "-incentre",
// "-snub1" or "-point", "-dual" for its dual, and `extension`, as in "300-r0-vertexB.off".
[[nodiscard]] std::string polyhedronFileName(const DrawRequest& request,
                                             const GeneratingPoint& point, bool dual,
                                             const char* extension);

// The vantu-render command line that writes that polyhedron into the OFF file of that name:
// "vantu-render", the triangle's arguments of renderArguments (--code or --triangle, --rotation,
// --reverse when set), --point with generatingPointText's text, --dual for the dual, -o and the
// name, quoted as renderCommandLine quotes them. Throws std::invalid_argument as renderArguments
// does.
[[nodiscard]] QString polyhedronCommandLine(const PictureDescription& description,
                                            const GeneratingPoint& point, bool dual);

}  // namespace vantu::explorer
