#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "geometry/projection.h"
#include "setup/triangle_code.h"

namespace vantu::cli {

// What the command line asks for. Every drawing input defaults to the window's start-up state.
struct CommandLine {
    std::string code{catalogue.front()};
    int rotation = 0;
    bool reverse = false;
    std::string scaleText = "120";
    Projection projection = Projection::stereographic;
    std::string output;  // PNG file, empty for none
    bool printRuns = false;
    int zoom = 1;         // output pixels per window pixel along each axis
    int antialias = 1;    // samples per output pixel along each axis
    int jobs = 0;         // threads; 0 for one per core
    std::string gallery;  // folder for the whole catalogue, empty for none
    bool permutations = false;
    bool snub = false;      // print the points where the six hues meet
    bool markSnub = false;  // ring them in the PNG
    bool help = false;
    bool version = false;
};

// The most threads --jobs accepts.
inline constexpr int maxJobs = 256;

// A command line that cannot be understood; the message says why.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses the arguments after the program name. Options take their value as the next argument
// or after "=". Throws UsageError, also for options that cannot go together.
[[nodiscard]] CommandLine parseCommandLine(const std::vector<std::string>& args);

// The --help text.
[[nodiscard]] std::string usageText();

}  // namespace vantu::cli
