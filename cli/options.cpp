#include "cli/options.h"

#include <cstddef>
#include <optional>

namespace vantu::cli {

std::string usageText() {
    return R"(Usage: vantu-render [OPTION]...
Draw the unit sphere seen through the kaleidoscope of three mirrors, exactly as the Vantu
window draws it, into a 640 x 481 PNG or as the list of runs handed to the picture.

Drawing (each defaults to the window's start-up state):
  --code TEXT             the triangle code (default "300 2/1:3/1:3/1")
  --rotation 0|1|2        cyclic rotation of the three angles (default 0)
  --reverse               exchange the first two angles after the rotation
  --scale TEXT            the scale box's text; its leading number is R in pixels
                          (default "120")
  --projection stereo|gnome|ortho
                          the projection (default stereo)

Output (at least one):
  -o, --output FILE.png   write the picture as a PNG; pixels not drawn are transparent
  --runs                  print every call to the picture, one per line:
                          "run ROW FIRST END PACKED" and "end ROW"

  --help                  show this help and exit
  --version               show the version and exit

Exit status: 0 when the picture is drawn, 1 when a fault stopped the drawing (what was drawn
before it is kept), 2 for a bad command line.
)";
}

namespace detail {
namespace {

Projection parseProjection(const std::string& value) {
    if (value == "stereo") {
        return Projection::stereographic;
    }
    if (value == "gnome") {
        return Projection::gnomonic;
    }
    if (value == "ortho") {
        return Projection::orthographic;
    }
    throw UsageError("--projection must be stereo, gnome or ortho, not '" + value + "'");
}

int parseRotation(const std::string& value) {
    if (value == "0" || value == "1" || value == "2") {
        return value[0] - '0';
    }
    throw UsageError("--rotation must be 0, 1 or 2, not '" + value + "'");
}

}  // namespace
}  // namespace detail

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (const std::size_t eq = name.find('=');
            name.starts_with("--") && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        const auto value = [&]() -> std::string {
            if (inlineValue) {
                return *inlineValue;
            }
            if (i + 1 >= args.size()) {
                throw UsageError("option '" + name + "' needs a value");
            }
            return args[++i];
        };
        const auto noValue = [&] {
            if (inlineValue) {
                throw UsageError("option '" + name + "' takes no value");
            }
        };
        if (name == "--code") {
            line.code = value();
        } else if (name == "--rotation") {
            line.rotation = detail::parseRotation(value());
        } else if (name == "--reverse") {
            noValue();
            line.reverse = true;
        } else if (name == "--scale") {
            line.scaleText = value();
        } else if (name == "--projection") {
            line.projection = detail::parseProjection(value());
        } else if (name == "-o" || name == "--output") {
            line.output = value();
            if (line.output.empty()) {
                throw UsageError("option '" + name + "' needs a file name");
            }
        } else if (name == "--runs") {
            noValue();
            line.printRuns = true;
        } else if (name == "--help" || name == "-h") {
            noValue();
            line.help = true;
        } else if (name == "--version") {
            noValue();
            line.version = true;
        } else {
            throw UsageError("unknown option '" + name + "'");
        }
    }
    return line;
}

}  // namespace vantu::cli
