// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/option_kinds.h"

#include <charconv>
#include <cmath>

#include <sstream>

#include "geometry/text.h"

namespace vantu::cli::detail {
namespace {

constexpr std::size_t helpWidth = 96;     // columns of the --help text
constexpr std::size_t optionColumn = 26;  // where the descriptions of the options begin

}  // namespace

std::string inQuotes(std::string_view text) {
    return "'" + escapeText(text) + "'";
}

std::string listed(const std::vector<std::string>& items, const std::string& last) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            text += i + 1 == items.size() ? " " + last + " " : ", ";
        }
        text += items[i];
    }
    return text;
}

std::string longName(const CLI::Option& option) {
    return option.get_name();
}

std::string shortName(const CLI::Option& option) {
    return option.get_snames().empty() ? option.get_name() : "-" + option.get_snames().front();
}

bool takesValue(const CLI::Option& option) {
    return option.get_expected_min() > 0;
}

std::string usageOf(const CLI::Option& option) {
    return shortName(option) + (takesValue(option) ? " " + option.get_type_name() : "");
}

std::string withDefault(const std::string& help, const std::string& shown) {
    return shown.empty() ? help : help + " (default " + shown + ")";
}

CLI::Option* declared(CLI::Option* option, const std::string& placeholder) {
    option->trigger_on_parse();
    if (!placeholder.empty()) {
        option->type_name(placeholder);
    }
    return option;
}

CLI::Option* addFlag(CLI::App& app, const Declaration& declaration, bool* target) {
    return declared(target != nullptr ? app.add_flag(declaration.names, *target, declaration.help)
                                      : app.add_flag(declaration.names, declaration.help),
                    "");
}

CLI::Option* addText(CLI::App& app, const Declaration& declaration, std::string& target) {
    const std::string shown = target.empty() ? "" : "\"" + target + "\"";
    return declared(app.add_option(declaration.names, target, withDefault(declaration.help, shown)),
                    declaration.placeholder);
}

CLI::Option* addPath(CLI::App& app, const Declaration& declaration, std::string& target,
                     const std::string& what) {
    CLI::Option* option = addText(app, declaration, target);
    option->check(CLI::Validator(
        [what](const std::string& value) {
            return value.empty() ? "option '" + std::string(givenName) + "' needs " + what
                                 : std::string();
        },
        ""));
    return option;
}

CLI::Option* addWholeNumber(CLI::App& app, const Declaration& declaration, int& target,
                            const WholeNumberRange& range) {
    const int low = range.low;
    const int high = range.high;
    std::string shown = range.shownDefault;
    if (shown.empty() && target >= low && target <= high) {
        shown = std::to_string(target);
    }
    const std::string help = declaration.help + ", " + declaration.placeholder + " = " +
                             std::to_string(low) + " to " + std::to_string(high);
    CLI::Option* option =
        declared(app.add_option(declaration.names, target, withDefault(help, shown)),
                 declaration.placeholder);
    // Read here and handed on in plain decimal: CLI11 would take "010" for octal.
    option->transform(CLI::Validator(
        [low, high](std::string& value) {
            const bool digits = !value.empty() && value.size() <= 6 &&
                                value.find_first_not_of("0123456789") == std::string::npos;
            const int n = digits ? std::stoi(value) : 0;
            if (!digits || n < low || n > high) {
                return givenName + std::string(" must be a whole number from ") +
                       std::to_string(low) + " to " + std::to_string(high) + ", not " +
                       inQuotes(value);
            }
            value = std::to_string(n);
            return std::string();
        },
        ""));
    return option;
}

std::optional<double> decimalNumber(std::string_view text) {
    const bool plain = !text.empty() &&
                       text.find_first_not_of("0123456789.eE+-") == std::string_view::npos &&
                       text.front() != '+';
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (!plain || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string wrapped(const std::string& text, std::size_t width, std::size_t indent) {
    std::string out;
    std::size_t begun = 0;  // where the line being filled begins in `out`
    std::istringstream lines(text);
    bool firstLine = true;
    for (std::string line; std::getline(lines, line);) {
        if (!firstLine) {
            out += "\n" + std::string(indent, ' ');
            begun = out.size();
        }
        firstLine = false;
        std::istringstream words(line);
        bool lineEmpty = true;
        for (std::string word; words >> word;) {
            if (!lineEmpty && out.size() - begun + 1 + word.size() > width) {
                out += "\n" + std::string(indent, ' ');
                begun = out.size();
                lineEmpty = true;
            }
            out += (lineEmpty ? "" : " ") + word;
            lineEmpty = false;
        }
    }
    return out;
}

std::string HelpLayout::make_help(const CLI::App* app, std::string name,
                                  CLI::AppFormatMode /*mode*/) const {
    std::string out =
        "Usage: " + name + " [OPTION]...\n" + wrapped(app->get_description(), helpWidth, 0) + "\n";
    for (const std::string& group : app->get_groups()) {
        const std::vector<const CLI::Option*> options = app->get_options(
            [&group](const CLI::Option* option) { return option->get_group() == group; });
        out += "\n" + group + ":\n";
        for (const CLI::Option* option : options) {
            out += optionLine(*option);
        }
    }
    return out + "\n" + wrapped(app->get_footer(), helpWidth, 0) + "\n";
}

std::string HelpLayout::optionLine(const CLI::Option& option) {
    std::string names;
    for (const std::string& s : option.get_snames()) {
        names += (names.empty() ? "-" : ", -") + s;
    }
    for (const std::string& l : option.get_lnames()) {
        names += (names.empty() ? "--" : ", --") + l;
    }
    std::string left = "  " + names;
    if (takesValue(option)) {
        left += " " + option.get_type_name();
    }
    // At least two blanks between the columns, or the description on a line of its own.
    left += left.size() + 2 > optionColumn ? "\n" + std::string(optionColumn, ' ')
                                           : std::string(optionColumn - left.size(), ' ');
    return left + wrapped(option.get_description(), helpWidth - optionColumn, optionColumn) + "\n";
}

}  // namespace vantu::cli::detail
