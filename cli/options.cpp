#include "cli/options.h"

#include <cstddef>
#include <optional>
#include <set>

#include "render/fine_picture.h"

namespace vantu::cli {

std::string usageText() {
    return R"(Usage: vantu-render [OPTION]...
Draw the unit sphere seen through the kaleidoscope of three mirrors, exactly as the Vantu
window draws it, into a 640 x 481 PNG or as the list of runs handed to the picture; or at
print quality, or the whole catalogue at once, or the points where the six hues meet.

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
  --snub                  print every point of the sphere where the six hues meet
                          (D1 = D2 = D3): x, y, z, side count, the signs of the three
                          dot products, the common D and the pixel that shows it
  --gallery DIR           draw every catalogue code in each projection into DIR as
                          LABEL-rROTATION[-rev]-PROJECTION.png, with the contact sheet
                          DIR/index.html; takes --scale, --zoom, --antialias, --jobs

Print quality (with -o or --gallery):
  --zoom K                the same view K times finer: 640K x 481K pixels, K = 1 to 16
                          (default 1, the window's picture bit for bit)
  --antialias N           average N x N samples per pixel, N = 1 to 8 (default 1)
  --mark-snub             ring each point where the six hues meet in the PNG (with -o)
  --permutations          the gallery also draws rotations 1 and 2 and their reverses
  --jobs N                threads to share the work (default: one per core)

  --help                  show this help and exit
  --version               show the version and exit

A progress bar goes to stderr while a long picture or the gallery is drawn, when stderr is a
terminal.

Exit status: 0 when the picture is drawn, 1 when a fault stopped the drawing (what was drawn
before it is kept) or a file cannot be written, 2 for a bad command line.
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

// A whole number from `low` to `high`, in plain decimal digits.
int parseCount(const std::string& name, const std::string& value, int low, int high) {
    const auto fail = [&]() -> int {
        throw UsageError(name + " must be a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not '" + value + "'");
    };
    if (value.empty() || value.size() > 6 ||
        value.find_first_not_of("0123456789") != std::string::npos) {
        return fail();
    }
    const int n = std::stoi(value);
    return n < low || n > high ? fail() : n;
}

// Options that cannot go together, checked once all are read.
void checkCombinations(const CommandLine& line, const std::set<std::string>& given) {
    const auto has = [&](const char* name) { return given.contains(name); };
    if (!line.gallery.empty()) {
        for (const char* other : {"--code", "--rotation", "--reverse", "--projection", "--output",
                                  "--runs", "--snub", "--mark-snub"}) {
            if (has(other)) {
                throw UsageError(std::string("--gallery draws every code in every projection; ") +
                                 "it cannot be combined with " + other);
            }
        }
    }
    if (line.permutations && line.gallery.empty()) {
        throw UsageError("--permutations needs --gallery");
    }
    if (line.markSnub && line.output.empty()) {
        throw UsageError("--mark-snub needs -o");
    }
    if (line.printRuns && (has("--zoom") || has("--antialias"))) {
        throw UsageError(
            "--runs lists the window's own picture; it cannot be combined with --zoom or "
            "--antialias");
    }
}

}  // namespace
}  // namespace detail

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    std::set<std::string> given;
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
        given.insert(name == "-o" ? "--output" : name);
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
        } else if (name == "--zoom") {
            line.zoom = detail::parseCount(name, value(), 1, maxZoom);
        } else if (name == "--antialias") {
            line.antialias = detail::parseCount(name, value(), 1, maxAntialias);
        } else if (name == "--jobs") {
            line.jobs = detail::parseCount(name, value(), 1, maxJobs);
        } else if (name == "--gallery") {
            line.gallery = value();
            if (line.gallery.empty()) {
                throw UsageError("option '" + name + "' needs a folder");
            }
        } else if (name == "--permutations") {
            noValue();
            line.permutations = true;
        } else if (name == "--snub") {
            noValue();
            line.snub = true;
        } else if (name == "--mark-snub") {
            noValue();
            line.markSnub = true;
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
    if (!line.help && !line.version) {
        detail::checkCombinations(line, given);
    }
    return line;
}

}  // namespace vantu::cli
