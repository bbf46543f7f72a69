// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "explorer/render_command.h"

#include <string>
#include <vector>

#include "options/picture_options.h"

namespace vantu::explorer {

QString renderCommandLine(const PictureDescription& description) {
    std::vector<std::string> words = {"vantu-render"};
    const std::vector<std::string> arguments = options::renderArguments(description);
    words.insert(words.end(), arguments.begin(), arguments.end());
    words.insert(words.end(), {"-o", pictureFileName(description, ".png")});
    return QString::fromStdString(options::shellQuoted(words));
}

}  // namespace vantu::explorer
