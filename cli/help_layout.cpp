// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/help_layout.h"

#include <algorithm>
#include <set>
#include <sstream>
#include <vector>

#include "options/option_kinds.h"

namespace vantu::cli::detail {
namespace {

constexpr std::size_t helpWidth = 96;     // columns of the --help text
constexpr std::size_t optionColumn = 26;  // where the descriptions of the options begin

// The short names of `app`'s options that are in `some`, in the order of the help.
std::vector<std::string> namesAmong(const CLI::App& app, const std::set<CLI::Option*>& some) {
    std::vector<std::string> names;
    for (const CLI::Option* option : app.get_options()) {
        if (std::any_of(some.begin(), some.end(),
                        [option](const CLI::Option* o) { return o == option; })) {
            names.push_back(shortName(*option));
        }
    }
    return names;
}

}  // namespace

std::string shortName(const CLI::Option& option) {
    return option.get_snames().empty() ? option.get_name() : "-" + option.get_snames().front();
}

bool takesValue(const CLI::Option& option) {
    return option.get_expected_min() > 0;
}

std::string usageOf(const CLI::Option& option) {
    return shortName(option) + (takesValue(option) ? " " + option.get_type_name() : "");
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
            out += optionLine(*app, *option);
        }
    }
    return out + "\n" + wrapped(app->get_footer(), helpWidth, 0) + "\n";
}

std::string HelpLayout::optionLine(const CLI::App& app, const CLI::Option& option) {
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
    std::vector<std::string> notes;
    if (const auto needs = namesAmong(app, option.get_needs()); !needs.empty()) {
        notes.push_back("needs " + options::listed(needs, "and"));
    }
    if (const auto excludes = namesAmong(app, option.get_excludes()); !excludes.empty()) {
        notes.push_back("not with " + options::listed(excludes, "or"));
    }
    std::string description = option.get_description();
    for (std::size_t i = 0; i < notes.size(); ++i) {
        description += (i == 0 ? " (" : "; ") + notes[i] + (i + 1 == notes.size() ? ")" : "");
    }
    return left + wrapped(description, helpWidth - optionColumn, optionColumn) + "\n";
}

}  // namespace vantu::cli::detail
