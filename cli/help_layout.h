// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The names vantu-render gives its options by, and the layout of its --help.

#include <CLI/CLI.hpp>
#include <cstddef>
#include <string>

namespace vantu::cli::detail {

// The name the usage gives an option by: its short one when it has one, as in "-o FILE".
[[nodiscard]] std::string shortName(const CLI::Option& option);

// False for a flag.
[[nodiscard]] bool takesValue(const CLI::Option& option);

// "-o FILE", "--runs".
[[nodiscard]] std::string usageOf(const CLI::Option& option);

// `text` in lines of at most `width` columns, each but the first after `indent` blanks; every
// line of `text` begins a new one.
[[nodiscard]] std::string wrapped(const std::string& text, std::size_t width, std::size_t indent);

// The layout of --help: the usage line, the description, the options group by group, each
// described in a column of its own with the options it needs and those it cannot go with (as
// CLI11 holds them, in the order of the help), and the footer, all wrapped to 96 columns.
class HelpLayout : public CLI::Formatter {
public:
    std::string make_help(const CLI::App* app, std::string name,
                          CLI::AppFormatMode mode) const override;

private:
    static std::string optionLine(const CLI::App& app, const CLI::Option& option);
};

}  // namespace vantu::cli::detail
