#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>

#include "geometry/projection.h"
#include "geometry/raster.h"

namespace vantu::cli {
namespace detail {
namespace {

constexpr std::size_t helpWidth = 96;     // columns of the --help text
constexpr std::size_t optionColumn = 26;  // where the descriptions of the options begin

// Begins the stand-in for an unknown argument that CLI11 would read as something else; no
// argument in option position begins so, as CLI11 sets none such aside itself.
constexpr const char* standIn = "\x1f";

// "a, b or c" for `last` "or".
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

// The name messages give an option by: its long one.
std::string longName(const CLI::Option& option) {
    return option.get_name();
}

// The name the usage gives an option by: its short one when it has one, as in "-o FILE.png".
std::string shortName(const CLI::Option& option) {
    return option.get_snames().empty() ? option.get_name() : "-" + option.get_snames().front();
}

bool takesValue(const CLI::Option& option) {
    return option.get_expected_min() > 0;
}

// "-o FILE.png", "--runs".
std::string usageOf(const CLI::Option& option) {
    return shortName(option) + (takesValue(option) ? " " + option.get_type_name() : "");
}

std::string withDefault(const std::string& help, const std::string& shown) {
    return shown.empty() ? help : help + " (default " + shown + ")";
}

// Stands for the option in the message of a check: the option as given, such as "-o" or
// "--output" for the same one.
constexpr const char* givenName = "{}";

// Every option runs its checks and sets its value as soon as it is read, so that the first bad
// value in the order of the arguments is the one reported.
CLI::Option* declared(CLI::Option* option, const std::string& placeholder) {
    option->trigger_on_parse();
    if (!placeholder.empty()) {
        option->type_name(placeholder);
    }
    return option;
}

CLI::Option* addFlag(CLI::App& app, const std::string& name, bool* target,
                     const std::string& help) {
    return declared(
        target != nullptr ? app.add_flag(name, *target, help) : app.add_flag(name, help), "");
}

// A text taken as it is, such as the triangle code.
CLI::Option* addText(CLI::App& app, const std::string& names, std::string& target,
                     const std::string& placeholder, const std::string& help) {
    const std::string shown = target.empty() ? "" : "\"" + target + "\"";
    return declared(app.add_option(names, target, withDefault(help, shown)), placeholder);
}

// A file or folder to write, which cannot be empty: "option '-o' needs a file name".
CLI::Option* addPath(CLI::App& app, const std::string& names, std::string& target,
                     const std::string& placeholder, const std::string& what,
                     const std::string& help) {
    CLI::Option* option = addText(app, names, target, placeholder, help);
    option->check(CLI::Validator(
        [what](const std::string& value) {
            return value.empty() ? "option '" + std::string(givenName) + "' needs " + what
                                 : std::string();
        },
        ""));
    return option;
}

// A whole number from `low` to `high` in plain decimal digits, such as --zoom. `shownDefault`
// replaces the default the help would show, the target's value when it is in the range.
CLI::Option* addWholeNumber(CLI::App& app, const std::string& name, int& target,
                            const std::string& placeholder, int low, int high,
                            const std::string& help, std::string shownDefault = "") {
    if (shownDefault.empty() && target >= low && target <= high) {
        shownDefault = std::to_string(target);
    }
    const std::string range =
        ", " + placeholder + " = " + std::to_string(low) + " to " + std::to_string(high);
    CLI::Option* option = declared(
        app.add_option(name, target, withDefault(help + range, shownDefault)), placeholder);
    // Read here and handed on in plain decimal: CLI11 would take "010" for octal.
    option->transform(CLI::Validator(
        [low, high](std::string& value) {
            const bool digits = !value.empty() && value.size() <= 6 &&
                                value.find_first_not_of("0123456789") == std::string::npos;
            const int n = digits ? std::stoi(value) : 0;
            if (!digits || n < low || n > high) {
                return givenName + std::string(" must be a whole number from ") +
                       std::to_string(low) + " to " + std::to_string(high) + ", not '" + value +
                       "'";
            }
            value = std::to_string(n);
            return std::string();
        },
        ""));
    return option;
}

// One of a few named values, such as the projection.
template <class T>
struct Choice {
    std::string name;
    T value;
};

template <class T>
CLI::Option* addChoice(CLI::App& app, const std::string& name, std::vector<Choice<T>> choices,
                       T& target, const std::string& help) {
    std::vector<std::string> names;
    std::string shown;
    for (const Choice<T>& c : choices) {
        names.push_back(c.name);
        if (c.value == target) {
            shown = c.name;
        }
    }
    std::string placeholder;
    for (const std::string& n : names) {
        placeholder += (placeholder.empty() ? "" : "|") + n;
    }
    CLI::Option* option = declared(app.add_option_function<std::string>(
                                       name,
                                       [&target, choices](const std::string& value) {
                                           for (const Choice<T>& c : choices) {
                                               if (c.name == value) {
                                                   target = c.value;
                                               }
                                           }
                                       },
                                       withDefault(help, shown)),
                                   placeholder);
    option->check(CLI::Validator(
        [names](const std::string& value) {
            return std::find(names.begin(), names.end(), value) != names.end()
                       ? std::string()
                       : givenName + std::string(" must be ") + listed(names, "or") + ", not '" +
                             value + "'";
        },
        ""));
    return option;
}

// The three cyclic rotations of the angles.
std::vector<Choice<int>> rotationChoices() {
    std::vector<Choice<int>> choices;
    for (int rotation = 0; rotation < 3; ++rotation) {
        choices.push_back({std::to_string(rotation), rotation});
    }
    return choices;
}

std::vector<Choice<Projection>> projectionChoices() {
    std::vector<Choice<Projection>> choices;
    for (const ProjectionName& p : projectionNames) {
        choices.push_back({std::string(p.name), p.projection});
    }
    return choices;
}

// A combination of options that cannot be given, and what vantu-render says when it is.
struct Rule {
    enum class Kind { needs, excludes };
    Kind kind;
    CLI::Option* subject;
    std::vector<CLI::Option*> others;
    std::function<std::string(const CLI::Option& other)> message;

    // The option that breaks the rule on the command line just parsed, or null.
    [[nodiscard]] const CLI::Option* brokenBy() const {
        if (subject->count() == 0) {
            return nullptr;
        }
        for (const CLI::Option* other : others) {
            if ((other->count() == 0) == (kind == Kind::needs)) {
                return other;
            }
        }
        return nullptr;
    }
};

// `text` in lines of at most `width` columns, each but the first after `indent` blanks; every
// line of `text` begins a new one.
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

// The layout of --help: the usage line, the description, the options group by group, each
// described in a column of its own, and the footer.
class HelpLayout : public CLI::Formatter {
public:
    std::string make_help(const CLI::App* app, std::string name,
                          CLI::AppFormatMode /*mode*/) const override {
        std::string out = "Usage: " + name + " [OPTION]...\n" +
                          wrapped(app->get_description(), helpWidth, 0) + "\n";
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

private:
    static std::string optionLine(const CLI::Option& option) {
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
        return left + wrapped(option.get_description(), helpWidth - optionColumn, optionColumn) +
               "\n";
    }
};

// vantu-render's options, each declared once: CLI11 parses with them, and the help is made
// from them.
class Options {
public:
    Options();
    Options(const Options&) = delete;
    Options& operator=(const Options&) = delete;

    [[nodiscard]] ParsedLine parse(const std::vector<std::string>& args);
    [[nodiscard]] std::string help() const { return m_app.help(); }

private:
    void addRule(Rule::Kind kind, CLI::Option* subject, std::vector<CLI::Option*> others,
                 std::function<std::string(const CLI::Option& other)> message);
    void tokenize(const std::vector<std::string>& args);
    [[nodiscard]] std::optional<std::string> firstUnknown() const;
    [[nodiscard]] std::string optionBeingRead(std::size_t unread) const;
    [[nodiscard]] Mode mode() const;
    [[nodiscard]] ParsedLine stopped(const CLI::ParseError& error, std::size_t unread) const;

    Command m_command;
    CLI::App m_app;
    std::string m_outputGroup = "Output (at least one)";
    std::vector<Rule> m_rules;           // in the order they are checked
    std::vector<std::string> m_tokens;   // the arguments as CLI11 is to read them
    std::vector<std::string> m_given;    // for each token naming an option, the name given
    std::vector<std::string> m_unknown;  // the arguments behind the stand-ins, in order
    CLI::Option* m_output = nullptr;
    CLI::Option* m_runs = nullptr;
    CLI::Option* m_snub = nullptr;
    CLI::Option* m_gallery = nullptr;
};

Options::Options()
    : m_app(
          "Draw the unit sphere seen through the kaleidoscope of three mirrors, exactly as the "
          "Vantu window draws it, into a " +
              std::to_string(pictureWidth) + " x " + std::to_string(pictureHeight) +
              " PNG or as the list of runs handed to the picture; or at print quality, or the "
              "whole catalogue at once, or the points where the six hues meet.",
          "vantu-render") {
    m_app.formatter(std::make_shared<HelpLayout>());
    m_app.footer(
        "A progress bar goes to stderr while a long picture or the gallery is drawn, when stderr "
        "is a terminal.\n\nExit status: 0 when the picture is drawn, 1 when a fault stopped the "
        "drawing (what was drawn before it is kept) or a file cannot be written, 2 for a bad "
        "command line.");
    m_app.option_defaults()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
        ->disable_flag_override();

    m_app.option_defaults()->group("Drawing (each defaults to the window's start-up state)");
    DrawRequest& request = m_command.request;
    CLI::Option* code = addText(m_app, "--code", request.triangleCode, "TEXT", "the triangle code");
    CLI::Option* rotation = addChoice(m_app, "--rotation", rotationChoices(), request.rotation,
                                      "cyclic rotation of the three angles");
    CLI::Option* reverse = addFlag(m_app, "--reverse", &request.reverse,
                                   "exchange the first two angles after the rotation");
    addText(m_app, "--scale", m_command.scaleText, "TEXT",
            "the scale box's text; its leading number is R in pixels");
    CLI::Option* projection =
        addChoice(m_app, "--projection", projectionChoices(), request.projection, "the projection");

    m_app.option_defaults()->group(m_outputGroup);
    m_output = addPath(m_app, "-o,--output", m_command.output, "FILE.png", "a file name",
                       "write the picture as a PNG; pixels not drawn are transparent");
    m_runs = addFlag(m_app, "--runs", nullptr,
                     "print every call to the picture, one per line: \"run ROW FIRST END "
                     "PACKED\" and \"end ROW\"");
    m_snub = addFlag(m_app, "--snub", &m_command.listSnubPoints,
                     "print every point of the sphere where the six hues meet (D1 = D2 = D3): "
                     "x, y, z, side count, the signs of the three dot products, the common D "
                     "and the pixel that shows it");
    m_gallery = addPath(m_app, "--gallery", m_command.output, "DIR", "a folder",
                        "draw every catalogue code in each projection into DIR as "
                        "LABEL-rROTATION[-rev]-PROJECTION.png, with the contact sheet "
                        "DIR/index.html");

    m_app.option_defaults()->group("Print quality (with " + shortName(*m_output) + " or " +
                                   shortName(*m_gallery) + ")");
    CLI::Option* zoom = addWholeNumber(
        m_app, "--zoom", m_command.sampling.zoom, "K", 1, maxZoom,
        "the same view K times finer, 640K x 481K pixels; 1 is the window's picture bit for bit");
    CLI::Option* antialias = addWholeNumber(m_app, "--antialias", m_command.sampling.antialias, "N",
                                            1, maxAntialias, "average N x N samples per pixel");
    CLI::Option* markSnub = addFlag(m_app, "--mark-snub", &m_command.markSnubPoints,
                                    "ring each point where the six hues meet in the PNG");
    CLI::Option* permutations = addFlag(m_app, "--permutations", &m_command.permutations,
                                        "the gallery also draws rotations 1 and 2 and their "
                                        "reverses");
    addWholeNumber(m_app, "--jobs", m_command.jobs, "N", 1, maxJobs, "threads to share the work",
                   "one per core");

    m_app.option_defaults()->group("Information");
    const CLI::Option* help = m_app.set_help_flag("-h,--help", "show this help and exit");
    // Not on parse: after every value is checked, and only when --help is not given.
    m_app.add_flag_callback(
        "--version",
        [help] {
            if (help->count() == 0) {
                throw CLI::CallForVersion();
            }
        },
        "show the version and exit");

    // The combinations that cannot be given, in the order they are checked.
    addRule(Rule::Kind::excludes, m_gallery,
            {code, rotation, reverse, projection, m_output, m_runs, m_snub, markSnub},
            [gallery = m_gallery](const CLI::Option& other) {
                return longName(*gallery) +
                       " draws every code in every projection; it cannot be combined with " +
                       longName(other);
            });
    const auto needs = [](const CLI::Option* subject) {
        return [subject](const CLI::Option& other) {
            return longName(*subject) + " needs " + shortName(other);
        };
    };
    addRule(Rule::Kind::needs, permutations, {m_gallery}, needs(permutations));
    addRule(Rule::Kind::needs, markSnub, {m_output}, needs(markSnub));
    addRule(Rule::Kind::excludes, m_runs, {zoom, antialias},
            [runs = m_runs, zoom, antialias](const CLI::Option& /*other*/) {
                return longName(*runs) +
                       " lists the window's own picture; it cannot be combined with " +
                       listed({longName(*zoom), longName(*antialias)}, "or");
            });
}

// Hands the rule to CLI11 and notes it in the subject's help.
void Options::addRule(Rule::Kind kind, CLI::Option* subject, std::vector<CLI::Option*> others,
                      std::function<std::string(const CLI::Option& other)> message) {
    std::vector<std::string> names;
    for (CLI::Option* other : others) {
        if (kind == Rule::Kind::needs) {
            subject->needs(other);
        } else {
            subject->excludes(other);
        }
        names.push_back(shortName(*other));
    }
    subject->description(subject->get_description() +
                         (kind == Rule::Kind::needs ? " (needs " + listed(names, "and")
                                                    : " (not with " + listed(names, "or")) +
                         ")");
    m_rules.push_back({kind, subject, std::move(others), std::move(message)});
}

// CLI11 reads some arguments otherwise than vantu-render always has: "--name=" as "--name",
// taking the next argument for the value; "-ofile.png" as "-o file.png", and "-hx" as "-h -x";
// and it lets a flag take "=true", "={}" or "=". vantu-render reads the first as the empty
// value, takes neither of the next two (they are unknown options), and lets no flag take a
// value. The arguments are rewritten into m_tokens so that CLI11 reads them that way; an unknown
// one becomes a stand-in that CLI11 sets aside like any argument it does not know. m_given notes
// each token that names an option, as given.
void Options::tokenize(const std::vector<std::string>& args) {
    const auto add = [this](std::string token, std::string given = "") {
        m_tokens.push_back(std::move(token));
        m_given.push_back(std::move(given));
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {  // the rest are not options, for CLI11 as for vantu-render
            for (; i < args.size(); ++i) {
                add(args[i]);
            }
            break;
        }
        const std::size_t equals = arg.starts_with("--") ? arg.find('=') : std::string::npos;
        const std::string name = arg.substr(0, equals);
        const CLI::Option* option = m_app.get_option_no_throw(name);
        if (option == nullptr) {
            if (arg.size() > 2 && arg[0] == '-' && arg[1] != '-') {
                add(standIn + std::to_string(m_unknown.size()));
                m_unknown.push_back(arg);
            } else {
                add(arg);
            }
        } else if (equals == std::string::npos) {
            add(arg, name);
            if (takesValue(*option) && i + 1 < args.size()) {
                add(args[++i]);  // its value, whatever it looks like
            }
        } else if (!takesValue(*option)) {
            add(name + "=refused", name);  // a value CLI11 refuses a flag, as it does any other
        } else if (equals + 1 == arg.size()) {
            add(name, name);
            add("");
        } else {
            add(arg, name);
        }
    }
}

// The first argument CLI11 set aside as unknown, as it was given.
std::optional<std::string> Options::firstUnknown() const {
    const std::vector<std::string> unknown = m_app.remaining();
    if (unknown.empty()) {
        return std::nullopt;
    }
    const std::string& arg = unknown.front();
    if (arg.starts_with(standIn)) {
        return m_unknown.at(std::stoul(arg.substr(std::string_view(standIn).size())));
    }
    return arg.starts_with("--") ? arg.substr(0, arg.find('=')) : arg;
}

// The option CLI11 was reading when it stopped with `unread` tokens left, as given.
std::string Options::optionBeingRead(std::size_t unread) const {
    for (std::size_t i = m_tokens.size() - unread; i-- > 0;) {
        if (!m_given[i].empty()) {
            return m_given[i];
        }
    }
    return {};
}

ParsedLine Options::parse(const std::vector<std::string>& args) {
    tokenize(args);
    std::vector<std::string> unread(m_tokens.rbegin(), m_tokens.rend());  // taken from the back
    try {
        m_app.parse(unread);
    } catch (const CLI::ParseError& error) {
        return stopped(error, unread.size());
    }
    // Arguments after "--" are set aside without an error.
    if (const std::optional<std::string> unknown = firstUnknown()) {
        throw UsageError("unknown option '" + *unknown + "'");
    }
    m_command.mode = mode();
    return {Action::run, m_command};
}

Mode Options::mode() const {
    if (m_gallery->count() > 0) {
        return Mode::gallery;
    }
    if (m_runs->count() > 0) {
        return Mode::runs;
    }
    if (m_output->count() > 0) {
        return Mode::picture;
    }
    if (m_snub->count() > 0) {
        return Mode::snub;
    }
    std::vector<std::string> outputs;
    for (const CLI::Option* option : m_app.get_options(
             [this](const CLI::Option* o) { return o->get_group() == m_outputGroup; })) {
        outputs.push_back(usageOf(*option));
    }
    throw UsageError("nothing to do: give " + listed(outputs, "or"));
}

// Where CLI11 stopped, with `unread` tokens left: the help or the version, or else the usage
// error in vantu-render's words. CLI11 sets the arguments it does not know aside and reads on, so
// they come before whatever stopped it, and the first of them is the error.
ParsedLine Options::stopped(const CLI::ParseError& error, std::size_t unread) const {
    if (const std::optional<std::string> unknown = firstUnknown()) {
        throw UsageError("unknown option '" + *unknown + "'");
    }
    if (dynamic_cast<const CLI::CallForHelp*>(&error) != nullptr) {
        return {Action::help, {}};
    }
    if (dynamic_cast<const CLI::CallForVersion*>(&error) != nullptr) {
        return {Action::version, {}};
    }
    const std::string reading = optionBeingRead(unread);
    if (dynamic_cast<const CLI::ValidationError*>(&error) != nullptr) {
        // "NAME: MESSAGE", where the option's own check worded MESSAGE.
        const std::string what = error.what();
        std::string message = what.substr(what.find(": ") + 2);
        const std::size_t name = message.find(givenName);
        throw UsageError(message.replace(name, std::string_view(givenName).size(), reading));
    }
    if (dynamic_cast<const CLI::ExcludesError*>(&error) != nullptr ||
        dynamic_cast<const CLI::RequiresError*>(&error) != nullptr) {
        for (const Rule& rule : m_rules) {
            if (const CLI::Option* other = rule.brokenBy()) {
                throw UsageError(rule.message(*other));
            }
        }
    }
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
        // A flag given a value, or an option whose value the arguments ran out before.
        const CLI::Option* option = m_app.get_option_no_throw(reading);
        throw UsageError(
            "option '" + reading + "' " +
            (option != nullptr && takesValue(*option) ? "needs a value" : "takes no value"));
    }
    throw UsageError(error.what());
}

}  // namespace
}  // namespace detail

ParsedLine parseCommandLine(const std::vector<std::string>& args) {
    detail::Options options;
    return options.parse(args);
}

std::string helpText() {
    return detail::Options().help();
}

}  // namespace vantu::cli
