// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/command.h"

namespace vantu::cli {

DrawRequest readRequest(const Command& command) {
    DrawRequest request = command.request;
    request.scale = readScale(command.scaleText);
    return request;
}

PictureDescription describedPicture(const Command& command) {
    return {readRequest(command), command.view, command.size, command.sampling};
}

}  // namespace vantu::cli
