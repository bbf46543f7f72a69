// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The kinds of options vantu-render declares over CLI11 (flags, texts, paths, whole numbers and
// choices), the names it gives them by, and the layout of its --help.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantu::cli::detail {

// Stands for the option in the message of a check, to be replaced by the option as it was
// given: "-o" or "--output" for the same one.
inline constexpr const char* givenName = "{}";

// `text` in single quotes, with the characters that would garble a message escaped (escapeText):
// how messages quote what the user typed.
[[nodiscard]] std::string inQuotes(std::string_view text);

// "a, b or c" for `last` "or".
[[nodiscard]] std::string listed(const std::vector<std::string>& items, const std::string& last);

// The name messages give an option by: its long one.
[[nodiscard]] std::string longName(const CLI::Option& option);

// The name the usage gives an option by: its short one when it has one, as in "-o FILE.png".
[[nodiscard]] std::string shortName(const CLI::Option& option);

// False for a flag.
[[nodiscard]] bool takesValue(const CLI::Option& option);

// "-o FILE.png", "--runs".
[[nodiscard]] std::string usageOf(const CLI::Option& option);

// `help` with " (default SHOWN)" after it, when `shown` is not empty.
[[nodiscard]] std::string withDefault(const std::string& help, const std::string& shown);

// An option as the help shows it.
struct Declaration {
    std::string names;        // "--code", "-o,--output"
    std::string placeholder;  // for the value, "FILE.png"; empty for a flag or a choice
    std::string help;         // the description, to which the default and the notes are added
};

// The values a whole number may take, and the default the help shows: `shownDefault`, or else
// the target's value when it is in the range.
struct WholeNumberRange {
    int low = 1;
    int high = 1;
    std::string shownDefault;
};

// Makes `option` run its checks and set its value as soon as it is read, so that the first bad
// value in the order of the arguments is the one reported, and shows `placeholder` (when not
// empty) for its value in the help. Returns `option`.
CLI::Option* declared(CLI::Option* option, const std::string& placeholder);

// A flag that sets `target` (may be null) when given.
CLI::Option* addFlag(CLI::App& app, const Declaration& declaration, bool* target);

// A text taken as it is, such as the triangle code; the help shows its default, quoted.
CLI::Option* addText(CLI::App& app, const Declaration& declaration, std::string& target);

// A file or folder to write, which cannot be empty: "option '-o' needs a file name" for `what`
// "a file name".
CLI::Option* addPath(CLI::App& app, const Declaration& declaration, std::string& target,
                     const std::string& what);

// A whole number in `range`, in plain decimal digits, such as --zoom; the help shows the range
// and the default.
CLI::Option* addWholeNumber(CLI::App& app, const Declaration& declaration, int& target,
                            const WholeNumberRange& range);

// An option whose value `read` turns into `target`, or refuses with nothing: the message then
// says that the option "must be " `expected` ", not" the value, quoted. The help shows `shown`
// as the default when it is not empty.
template <class T>
CLI::Option* addRead(CLI::App& app, const Declaration& declaration, T& target,
                     const std::string& expected,
                     std::function<std::optional<T>(const std::string&)> read,
                     const std::string& shown) {
    CLI::Option* option = declared(
        app.add_option_function<std::string>(
            declaration.names, [&target, read](const std::string& value) { target = *read(value); },
            withDefault(declaration.help, shown)),
        declaration.placeholder);
    option->check(CLI::Validator(
        [read, expected](const std::string& value) {
            return read(value) ? std::string()
                               : givenName + std::string(" must be ") + expected + ", not " +
                                     inQuotes(value);
        },
        ""));
    return option;
}

// The number `text` spells in plain decimal, as in "1.25", "-3" or "2e-9": no blanks, no hex,
// no "inf" or "nan"; nothing for anything else or a number beyond the range of doubles.
[[nodiscard]] std::optional<double> decimalNumber(std::string_view text);

// One of a few named values, such as the projection.
template <class T>
struct Choice {
    std::string name;
    T value;
};

// An option that takes one of `choices` by name into `target`; its placeholder lists them, as
// in "0|1|2", and the help shows the default.
template <class T>
CLI::Option* addChoice(CLI::App& app, const Declaration& declaration,
                       std::vector<Choice<T>> choices, T& target) {
    std::vector<std::string> names;
    std::string placeholder;
    std::string shown;
    for (const Choice<T>& c : choices) {
        names.push_back(c.name);
        placeholder += (placeholder.empty() ? "" : "|") + c.name;
        if (c.value == target) {
            shown = c.name;
        }
    }
    CLI::Option* option = declared(app.add_option_function<std::string>(
                                       declaration.names,
                                       [&target, choices](const std::string& value) {
                                           for (const Choice<T>& c : choices) {
                                               if (c.name == value) {
                                                   target = c.value;
                                               }
                                           }
                                       },
                                       withDefault(declaration.help, shown)),
                                   placeholder);
    option->check(CLI::Validator(
        [names](const std::string& value) {
            return std::find(names.begin(), names.end(), value) != names.end()
                       ? std::string()
                       : givenName + std::string(" must be ") + listed(names, "or") + ", not " +
                             inQuotes(value);
        },
        ""));
    return option;
}

// `text` in lines of at most `width` columns, each but the first after `indent` blanks; every
// line of `text` begins a new one.
[[nodiscard]] std::string wrapped(const std::string& text, std::size_t width, std::size_t indent);

// The layout of --help: the usage line, the description, the options group by group, each
// described in a column of its own, and the footer, all wrapped to 96 columns.
class HelpLayout : public CLI::Formatter {
public:
    std::string make_help(const CLI::App* app, std::string name,
                          CLI::AppFormatMode mode) const override;

private:
    static std::string optionLine(const CLI::Option& option);
};

}  // namespace vantu::cli::detail
