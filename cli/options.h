#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "render/render_picture.h"
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
    bool help = false;
    bool version = false;
};

// A command line that cannot be understood; the message says why.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses the arguments after the program name. Options take their value as the next argument
// or after "=". Throws UsageError.
[[nodiscard]] CommandLine parseCommandLine(const std::vector<std::string>& args);

// The --help text.
[[nodiscard]] std::string usageText();

}  // namespace vantu::cli
