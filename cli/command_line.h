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

// Parses the arguments after the program name. An option's value is the next argument or the
// text after "=". Throws UsageError for an argument or value it does not take, for options that
// cannot go together and for a command line that asks for nothing; the first problem in the
// order of the arguments wins, and the combinations are checked only when every argument was
// understood. --help and --version skip that check.
[[nodiscard]] ParsedLine parseCommandLine(const std::vector<std::string>& args);

// The --help text, generated from the same declarations of the options as the parser.
[[nodiscard]] std::string helpText();

}  // namespace vantu::cli
