// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The kinds of options Vantu's programs declare over CLI11 (flags, texts and values read by a
// function of their own, such as whole numbers and choices), each checked by a CLI11 validator
// whose message says what the option takes and quotes what it was given.

#include <CLI/CLI.hpp>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantu::options {

// `text` in single quotes, with the characters that would garble a message escaped (escapeText):
// how messages quote what the user typed.
[[nodiscard]] std::string inQuotes(std::string_view text);

// "a, b or c" for `last` "or".
[[nodiscard]] std::string listed(const std::vector<std::string>& items, const std::string& last);

// `help` with " (default SHOWN)" after it, when `shown` is not empty.
[[nodiscard]] std::string withDefault(const std::string& help, const std::string& shown);

// An option as the help shows it.
struct Declaration {
    std::string names;        // "--code", "-o,--output"
    std::string placeholder;  // for the value, "FILE"; empty for a flag
    std::string help;         // the description, to which the default is added
};

// A check that takes the values `accepts` takes and refuses any other with "must be EXPECTED,
// not 'VALUE'"; CLI11 puts the option's name before it, as in "--zoom: must be a number from
// 0.25 to 16, not '0'". When `why` is given and says something, ": " and its reason follow, as
// in "--view: must be three numbers LON,LAT,ROLL in degrees, not '1,2': it has 2 numbers, not 3".
[[nodiscard]] CLI::Validator mustBe(const std::string& expected,
                                    std::function<bool(const std::string&)> accepts,
                                    std::function<std::string(std::string_view)> why = {});

// Makes `option` run its check and set its value as soon as it is read, so that the first bad
// value in the order of the arguments is the one reported, and shows `placeholder` (when not
// empty) for its value in the help. Returns `option`.
CLI::Option* declared(CLI::Option* option, const std::string& placeholder);

// A flag that sets `target` when given.
CLI::Option* addFlag(CLI::App& app, const Declaration& declaration, bool& target);

// A text taken as it is, such as the triangle code; the help shows its default, quoted.
CLI::Option* addText(CLI::App& app, const Declaration& declaration, std::string& target);

// A text that may not be empty, such as a file name: "must be EXPECTED, not ''".
CLI::Option* addName(CLI::App& app, const Declaration& declaration, std::string& target,
                     const std::string& expected);

// The values an option reads: `read` turns a text into a value, or refuses it with nothing,
// and the message then says that the option must be `expected`.
template <class T>
struct Reader {
    std::string expected;  // "a number from 0.25 to 16"
    std::function<std::optional<T>(std::string_view)> read;
    // Why `read` refuses a text, for the end of the message; none, or an empty reason, adds
    // nothing.
    std::function<std::string(std::string_view)> why = {};
};

// An option whose value, once `check` accepts it, `set` takes; the help shows `shown` as the
// default when it is not empty. CLI11 hands over the text as given: it converts nothing itself,
// so "010" is never octal and "1.25" never goes through a long double.
CLI::Option* addChecked(CLI::App& app, const Declaration& declaration,
                        std::function<void(const std::string&)> set, CLI::Validator check,
                        const std::string& shown);

// An option whose value `reader` turns into `target`; the help shows `shown` as the default
// when it is not empty.
template <class T>
CLI::Option* addRead(CLI::App& app, const Declaration& declaration, T& target, Reader<T> reader,
                     const std::string& shown) {
    const auto read = reader.read;
    return addChecked(
        app, declaration, [&target, read](const std::string& value) { target = *read(value); },
        mustBe(
            reader.expected, [read](const std::string& value) { return read(value).has_value(); },
            reader.why),
        shown);
}

// The number `text` spells in plain decimal, as in "1.25", "-3" or "2e-9": no blanks, no hex,
// no "+", "inf" or "nan"; nothing for anything else or a number beyond the range of doubles.
// Reads the double nearest to the decimal number, so that formatNumber's text reads back as
// the same double; a number too small for doubles, such as "1e-400", reads as a zero of its
// sign, as numericPrefix reads the scale.
[[nodiscard]] std::optional<double> decimalNumber(std::string_view text);

// Why decimalNumber refuses `text`, as words that follow its name and quoted text ("has a
// blank", "is beyond the range of numbers"); nothing when it reads.
[[nodiscard]] std::optional<std::string> decimalNumberFault(std::string_view text);

// The whole numbers from `low` to `high` in plain decimal digits (leading zeros allowed, no
// sign): "a whole number from LOW to HIGH".
[[nodiscard]] Reader<int> wholeNumber(int low, int high);

// The values a whole-number option takes, and the default the help shows: `shownDefault`, or
// else the target's value when it is in the range.
struct WholeNumberRange {
    int low = 1;
    int high = 1;
    std::string shownDefault;
};

// A whole number in `range`, such as --jobs; the help shows the range and the default.
CLI::Option* addWholeNumber(CLI::App& app, const Declaration& declaration, int& target,
                            const WholeNumberRange& range);

// One of a few named values, such as the projection.
template <class T>
using Choices = std::vector<std::pair<std::string, T>>;

// The names of `choices`, one of which the value must be: "0, 1 or 2".
template <class T>
[[nodiscard]] Reader<T> oneOf(const Choices<T>& choices) {
    std::vector<std::string> names;
    for (const auto& choice : choices) {
        names.push_back(choice.first);
    }
    return {listed(names, "or"), [choices](std::string_view text) -> std::optional<T> {
                for (const auto& [name, value] : choices) {
                    if (name == text) {
                        return value;
                    }
                }
                return std::nullopt;
            }};
}

// An option that takes one of `choices` by name into `target`; its placeholder lists them, as
// in "0|1|2", and the help shows the default.
template <class T>
CLI::Option* addChoice(CLI::App& app, const Declaration& declaration, const Choices<T>& choices,
                       T& target) {
    Declaration shown = declaration;
    std::string current;
    for (const auto& [name, value] : choices) {
        shown.placeholder += (shown.placeholder.empty() ? "" : "|") + name;
        if (value == target) {
            current = name;
        }
    }
    return addRead(app, shown, target, oneOf(choices), current);
}

}  // namespace vantu::options
