// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "cli/command.h"

namespace vantu::cli {

// What a command line asks vantu-render to do.
enum class Action {
    run,      // the command
    help,     // print helpText()
    version,  // print the version
};

// A command line parsed: the action, and for Action::run the command.
struct ParsedLine {
    Action action = Action::run;
    Command command;
};

// A command line that cannot be understood; the message says why.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The most threads --jobs accepts.
inline constexpr int maxJobs = 256;

// The most frames --turntable draws, and the most frames a second --fps gives.
inline constexpr int maxFrames = 3600;
inline constexpr int maxFps = 120;

// Parses the arguments after the program name with CLI11, as CLI11 reads them: an option's
// value is the next argument, the text after "=" (after "--name=" with nothing, the next
// argument) or, for -o, the rest of the argument ("-ofile.png"); a flag takes no value but
// "=true"; "--" ends the options. Throws UsageError, in CLI11's words or vantu-render's: for
// the first value refused in the order of the arguments; then for options that cannot go
// together; then for an argument that is no option; then for a command line that asks for
// nothing, a listing that cannot go with what else is asked, and a file name whose picture type
// is unknown or too small for the picture. --help (before --version) skips all but the values.
[[nodiscard]] ParsedLine parseCommandLine(const std::vector<std::string>& args);

// The --help text, generated from the same declarations of the options as the parser.
[[nodiscard]] std::string helpText();

}  // namespace vantu::cli
