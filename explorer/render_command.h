// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "drawing/draw_procedure.h"

namespace vantu::explorer {

// The vantu-render command line that draws exactly the described picture into the file "Save
// Picture As..." proposes for it (pictureFileName with ".png"): "vantu-render", the description's
// arguments (options::renderArguments), then -o and the name, every word quoted for a POSIX shell
// (options::shellQuoted), as in "vantu-render --code '300 2/1:3/1:3/1' --rotation 0 --scale 120
// --projection stereo --view 0,0,0 --size 700x560 -o 300-r0-stereo-view0,0,0-R120.png". Throws
// std::invalid_argument, as renderArguments does, for a description no command line gives.
[[nodiscard]] QString renderCommandLine(const PictureDescription& description);

}  // namespace vantu::explorer
