// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "options/option_kinds.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <system_error>

#include "geometry/text.h"
#include "setup/numeric_prefix.h"

namespace vantu::options {

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

std::string withDefault(const std::string& help, const std::string& shown) {
    return shown.empty() ? help : help + " (default " + shown + ")";
}

CLI::Validator mustBe(const std::string& expected, std::function<bool(const std::string&)> accepts,
                      std::function<std::string(std::string_view)> why) {
    return {
        [expected, accepts = std::move(accepts), why = std::move(why)](const std::string& value) {
            if (accepts(value)) {
                return std::string();
            }
            const std::string reason = why ? why(value) : std::string();
            return "must be " + expected + ", not " + inQuotes(value) +
                   (reason.empty() ? "" : ": " + reason);
        },
        ""};  // no description: CLI11 would add it to the placeholder
}

CLI::Option* declared(CLI::Option* option, const std::string& placeholder) {
    option->trigger_on_parse();
    if (!placeholder.empty()) {
        option->type_name(placeholder);
    }
    return option;
}

CLI::Option* addChecked(CLI::App& app, const Declaration& declaration,
                        std::function<void(const std::string&)> set, CLI::Validator check,
                        const std::string& shown) {
    return declared(app.add_option_function<std::string>(declaration.names, std::move(set),
                                                         withDefault(declaration.help, shown)),
                    declaration.placeholder)
        ->check(std::move(check));
}

CLI::Option* addFlag(CLI::App& app, const Declaration& declaration, bool& target) {
    return declared(app.add_flag(declaration.names, target, declaration.help), "");
}

CLI::Option* addText(CLI::App& app, const Declaration& declaration, std::string& target) {
    const std::string shown = target.empty() ? "" : "\"" + target + "\"";
    return declared(app.add_option(declaration.names, target, withDefault(declaration.help, shown)),
                    declaration.placeholder);
}

CLI::Option* addName(CLI::App& app, const Declaration& declaration, std::string& target,
                     const std::string& expected) {
    return addText(app, declaration, target)->check(mustBe(expected, [](const std::string& value) {
        return !value.empty();
    }));
}

CLI::Option* addWholeNumber(CLI::App& app, const Declaration& declaration, int& target,
                            const WholeNumberRange& range) {
    std::string shown = range.shownDefault;
    if (shown.empty() && target >= range.low && target <= range.high) {
        shown = std::to_string(target);
    }
    Declaration described = declaration;
    described.help += ", " + declaration.placeholder + " = " + std::to_string(range.low) + " to " +
                      std::to_string(range.high);
    return addRead(app, described, target, wholeNumber(range.low, range.high), shown);
}

namespace {

enum class DecimalRead { read, notDecimal, beyondRange };

// Reads the plain decimal number `text` into `value`, or says why it cannot.
DecimalRead readDecimal(std::string_view text, double& value) {
    const bool plain = !text.empty() &&
                       text.find_first_not_of("0123456789.eE+-") == std::string_view::npos &&
                       text.front() != '+';
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (!plain || end != text.data() + text.size() ||
        (error != std::errc() && error != std::errc::result_out_of_range)) {
        return DecimalRead::notDecimal;
    }
    if (error == std::errc::result_out_of_range) {
        // Beyond the range of doubles either way: numericPrefix says which, as the scale reads.
        value = numericPrefix(text);
    }
    return std::isfinite(value) ? DecimalRead::read : DecimalRead::beyondRange;
}

}  // namespace

std::optional<double> decimalNumber(std::string_view text) {
    double value = 0.0;
    return readDecimal(text, value) == DecimalRead::read ? std::optional(value) : std::nullopt;
}

std::optional<std::string> decimalNumberFault(std::string_view text) {
    double value = 0.0;
    const DecimalRead read = readDecimal(text, value);
    if (read == DecimalRead::read) {
        return std::nullopt;
    }
    if (text.empty()) {
        return std::string("is empty");
    }
    if (text.front() == '+') {
        return "has the sign " + inQuotes("+");
    }
    if (text.find_first_of(" \t") != std::string_view::npos) {
        return std::string("has a blank");
    }
    return std::string(read == DecimalRead::beyondRange ? "is beyond the range of numbers"
                                                        : "is not a decimal number");
}

Reader<int> wholeNumber(int low, int high) {
    return {"a whole number from " + std::to_string(low) + " to " + std::to_string(high),
            [low, high](std::string_view text) -> std::optional<int> {
                int n = 0;
                const auto [end, error] =
                    std::from_chars(text.data(), text.data() + text.size(), n);
                if (text.empty() || text.front() == '-' || error != std::errc() ||
                    end != text.data() + text.size() || n < low || n > high) {
                    return std::nullopt;
                }
                return n;
            }};
}

}  // namespace vantu::options
