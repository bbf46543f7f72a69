// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "explorer/render_command.h"

#include <algorithm>
#include <string>
#include <vector>

#include "options/picture_options.h"

namespace vantu::explorer {

QString renderCommandLine(const PictureDescription& description, const OverlayOptions& marks) {
    std::vector<std::string> words = {"vantu-render"};
    const std::vector<std::string> arguments = options::renderArguments(description);
    words.insert(words.end(), arguments.begin(), arguments.end());
    if (marks.polyhedron) {
        words.insert(words.end(),
                     {"--point", generatingPointText(marks.generatingPoint), "--mark-polyhedron"});
    }
    words.insert(words.end(), {"-o", pictureFileName(description, ".png")});
    return QString::fromStdString(options::shellQuoted(words));
}

std::string polyhedronFileName(const DrawRequest& request, const GeneratingPoint& point, bool dual,
                               const char* extension) {
    std::string name = pictureNameStem(request);
    // Without the projection, which shows the picture and not the polyhedron.
    const std::string projection = "-" + std::string(projectionName(request.projection));
    if (name.ends_with(projection)) {
        name.resize(name.size() - projection.size());
    }
    // The point by its name as --point writes it, without its colon; any other as "point".
    std::string written = point.kind == PointKind::given ? "point" : generatingPointText(point);
    std::erase(written, ':');
    return name + "-" + written + (dual ? "-dual" : "") + extension;
}

QString polyhedronCommandLine(const PictureDescription& description, const GeneratingPoint& point,
                              bool dual) {
    std::vector<std::string> words = {"vantu-render"};
    const std::vector<std::string> arguments = options::renderArguments(description);
    // The triangle's words only: the picture's scale, projection, view and size come after them.
    const auto pictureWords = std::find(arguments.begin(), arguments.end(), "--scale");
    words.insert(words.end(), arguments.begin(), pictureWords);
    words.insert(words.end(), {"--point", generatingPointText(point)});
    if (dual) {
        words.emplace_back("--dual");
    }
    words.insert(words.end(), {"-o", polyhedronFileName(description.request, point, dual, ".off")});
    return QString::fromStdString(options::shellQuoted(words));
}

}  // namespace vantu::explorer
