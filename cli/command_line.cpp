// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/command_line.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "cli/option_kinds.h"
#include "cli/turntable.h"
#include "export/picture_writer.h"
#include "geometry/projection.h"
#include "geometry/raster.h"

namespace vantu::cli {
namespace detail {
namespace {

// "LON,LAT,ROLL": three plain decimal numbers.
std::optional<View> readView(const std::string& text) {
    std::array<double, 3> angles{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < angles.size(); ++i) {
        const std::size_t end = i + 1 < angles.size() ? text.find(',', start) : text.size();
        if (end == std::string::npos) {
            return std::nullopt;
        }
        const std::optional<double> angle =
            decimalNumber(std::string_view(text).substr(start, end - start));
        if (!angle) {
            return std::nullopt;
        }
        angles[i] = *angle;
        start = end + 1;
    }
    return View{angles[0], angles[1], angles[2]};
}

// "WxH": two whole numbers in plain decimal, each 1 to maxPictureSide.
std::optional<PictureSize> readSize(const std::string& text) {
    const std::size_t x = text.find('x');
    const auto side = [](std::string_view digits) -> std::optional<int> {
        int n = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
        if (digits.empty() || digits.size() > 5 || digits.front() == '-' || error != std::errc() ||
            end != digits.data() + digits.size() || n < 1 || n > maxPictureSide) {
            return std::nullopt;
        }
        return n;
    };
    if (x == std::string::npos) {
        return std::nullopt;
    }
    const std::optional<int> width = side(std::string_view(text).substr(0, x));
    const std::optional<int> height = side(std::string_view(text).substr(x + 1));
    if (!width || !height) {
        return std::nullopt;
    }
    return PictureSize{*width, *height};
}

// Begins the stand-in for an unknown argument that CLI11 would read as something else; no
// argument in option position begins so, as CLI11 sets none such aside itself.
constexpr const char* standIn = "\x1f";

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
    void refuseUnknown() const;
    [[nodiscard]] std::string optionBeingRead(std::size_t unread) const;
    [[nodiscard]] Mode mode() const;
    void checkPictureType();
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
    CLI::Option* m_turntable = nullptr;
    std::vector<const CLI::Option*> m_printQuality;  // what only a picture file can use
};

Options::Options()
    : m_app(
          "Draw the unit sphere seen through the kaleidoscope of three mirrors, exactly as the "
          "Vantu window draws it, into a " +
              std::to_string(pictureWidth) + " x " + std::to_string(pictureHeight) +
              " PNG or WebP or as the list of runs handed to the picture; or at print quality, "
              "or turning as an animation, or the whole catalogue at once, or the points where "
              "the six hues meet.",
          "vantu-render") {
    m_app.formatter(std::make_shared<HelpLayout>());
    m_app.footer(
        "A progress bar goes to stderr while a long picture, a turntable or the gallery is drawn, "
        "when stderr is a terminal.\n\nEvery file is written completely or not at all: into a "
        "temporary file "
        "beside it, renamed over it once whole. A fault, a file that cannot be written or an "
        "interruption (SIGINT, SIGTERM, SIGHUP) removes the temporary file and leaves an "
        "existing file as it was; a gallery then has no index.html.\n\nExit status: 0 when "
        "everything is written, 1 when a fault stopped the drawing, a file cannot be written or "
        "memory runs out (the message gives the reason), 2 for a bad command line, 128 + N when "
        "signal N interrupted the work.");
    m_app.option_defaults()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
        ->disable_flag_override();

    m_app.option_defaults()->group("Drawing (each defaults to the window's start-up state)");
    DrawRequest& request = m_command.request;
    CLI::Option* code =
        addText(m_app, {"--code", "TEXT", "the triangle code"}, request.triangleCode);
    CLI::Option* rotation =
        addChoice(m_app, {"--rotation", "", "cyclic rotation of the three angles"},
                  rotationChoices(), request.rotation);
    CLI::Option* reverse =
        addFlag(m_app, {"--reverse", "", "exchange the first two angles after the rotation"},
                &request.reverse);
    addText(m_app, {"--scale", "TEXT", "the scale box's text; its leading number is R in pixels"},
            m_command.scaleText);
    CLI::Option* projection = addChoice(m_app, {"--projection", "", "the projection"},
                                        projectionChoices(), request.projection);
    CLI::Option* view = addRead<View>(
        m_app,
        {"--view", "LON,LAT,ROLL",
         "the sphere turned by LON degrees about the vertical axis (the front to the right), then "
         "LAT about the horizontal one (the front down), then ROLL about the axis towards the "
         "viewer (counter-clockwise)"},
        m_command.view, "three numbers LON,LAT,ROLL in degrees", readView, "0,0,0");
    CLI::Option* size = addRead<PictureSize>(
        m_app,
        {"--size", "WxH", "the picture's width and height in window pixels, R staying the same"},
        m_command.size,
        "WIDTHxHEIGHT, two whole numbers from 1 to " + std::to_string(maxPictureSide), readSize,
        std::to_string(pictureWidth) + "x" + std::to_string(pictureHeight));

    m_app.option_defaults()->group(m_outputGroup);
    m_output = addPath(
        m_app,
        {"-o,--output", "FILE",
         "write the picture as a PNG (FILE.png, or - for the standard output) or a lossless WebP "
         "(FILE.webp); with --turntable an animated WebP, or PNG frames into a folder when FILE "
         "ends in /; an existing file is replaced only once the picture is whole"},
        m_command.output, "a file name");
    m_runs = addFlag(m_app,
                     {"--runs", "",
                      "print every call to the picture, one per line: \"run ROW FIRST END "
                      "PACKED\" and \"end ROW\""},
                     nullptr);
    m_snub = addFlag(m_app,
                     {"--snub", "",
                      "print every point of the sphere where the six hues meet (D1 = D2 = D3): "
                      "x, y, z; k, the brightness the colouring gives it (how many of the three "
                      "dot products with the mirrors' normals are not negative, a point on a "
                      "mirror counting as on its positive side; 2 when none); the signs of the "
                      "three dot products (+, -, or 0 on the mirror, within 1e-12); the common D; "
                      "and the pixel that shows it"},
                     &m_command.listSnubPoints);
    m_gallery = addPath(m_app,
                        {"--gallery", "DIR",
                         "draw every catalogue code in each projection into DIR as "
                         "LABEL-rROTATION[-rev]-PROJECTION.png, with the contact sheet "
                         "DIR/index.html"},
                        m_command.output, "a folder");

    m_app.option_defaults()->group("Print quality (with " + shortName(*m_output) + " or " +
                                   shortName(*m_gallery) + ")");
    CLI::Option* zoom = addRead<double>(
        m_app,
        {"--zoom", "K",
         "the same view K times finer, 640K x 481K pixels for the default size, from " +
             formatNumber(minRatio) + " to " + std::to_string(maxZoom) +
             "; 1 is the window's picture bit for bit, and a screen's ratio such as 1.25 or 1.5 "
             "the window's picture on that screen"},
        m_command.sampling.ratio,
        "a number from " + formatNumber(minRatio) + " to " + std::to_string(maxZoom),
        [](const std::string& text) -> std::optional<double> {
            const std::optional<double> k = decimalNumber(text);
            return k && *k >= minRatio && *k <= maxRatio ? k : std::nullopt;
        },
        "1");
    CLI::Option* antialias =
        addWholeNumber(m_app, {"--antialias", "N", "average N x N samples per pixel"},
                       m_command.sampling.antialias, {1, maxAntialias, ""});
    CLI::Option* markSnub =
        addFlag(m_app, {"--mark-snub", "", "ring each point where the six hues meet in the PNG"},
                &m_command.markSnubPoints);
    CLI::Option* permutations = addFlag(
        m_app,
        {"--permutations", "", "the gallery also draws rotations 1 and 2 and their reverses"},
        &m_command.permutations);
    CLI::Option* jobs = addWholeNumber(m_app, {"--jobs", "N", "threads to share the work"},
                                       m_command.jobs, {1, maxJobs, "one per core"});

    m_app.option_defaults()->group("Turntable (with " + shortName(*m_output) + ")");
    m_turntable = addWholeNumber(
        m_app,
        {"--turntable", "N",
         "N frames of the sphere turning once, frame k at the view LON + (360 x k) / N, LAT, "
         "ROLL: an animated WebP for -o NAME.webp, or the PNG files 0000.png, 0001.png, ... for "
         "-o DIR/"},
        m_command.frames, {1, maxFrames, ""});
    CLI::Option* fps = addWholeNumber(m_app, {"--fps", "F", "the animated WebP's frames a second"},
                                      m_command.fps, {1, maxFps, ""});
    m_printQuality = {zoom, antialias, jobs, view, size};

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
            {code, rotation, reverse, projection, m_output, m_runs, m_snub, markSnub, m_turntable},
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
    addRule(Rule::Kind::needs, m_turntable, {m_output}, needs(m_turntable));
    addRule(Rule::Kind::needs, fps, {m_turntable}, needs(fps));
    addRule(Rule::Kind::excludes, m_turntable, {m_runs, m_snub, markSnub},
            [turntable = m_turntable](const CLI::Option& other) {
                return longName(*turntable) +
                       " draws the frames alone; it cannot be combined with " + longName(other);
            });
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
    if (unknown.empty() || unknown == std::vector<std::string>{"--"}) {
        return std::nullopt;
    }
    const std::string& arg = unknown.front();
    if (arg.starts_with(standIn)) {
        return m_unknown.at(std::stoul(arg.substr(std::string_view(standIn).size())));
    }
    return arg.starts_with("--") ? arg.substr(0, arg.find('=')) : arg;
}

// Throws the UsageError for the first argument CLI11 set aside, if any. "--" ends the options,
// and vantu-render takes no other arguments.
void Options::refuseUnknown() const {
    if (const std::optional<std::string> unknown = firstUnknown()) {
        throw UsageError(*unknown == "--"
                             ? "takes no arguments after '--': " + inQuotes(m_app.remaining().at(1))
                             : "unknown option " + inQuotes(*unknown));
    }
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
    refuseUnknown();
    m_command.mode = mode();
    // The listing alone draws nothing, so it has no use for how a picture file is drawn.
    for (const CLI::Option* option : m_printQuality) {
        if (m_command.mode == Mode::snub && option->count() > 0) {
            throw UsageError(longName(*m_snub) + " without " + shortName(*m_output) +
                             " draws nothing; it cannot be combined with " + longName(*option));
        }
    }
    // The PNG and the listings would share the standard output.
    if (m_command.output == "-" && m_command.mode != Mode::gallery &&
        (m_runs->count() > 0 || m_snub->count() > 0)) {
        throw UsageError(shortName(*m_output) +
                         " - writes the PNG to the standard output; it "
                         "cannot be combined with " +
                         listed({longName(*m_runs), longName(*m_snub)}, "or"));
    }
    checkPictureType();
    return {Action::run, m_command};
}

// The type of the picture file from its name, and its size against what that type takes.
void Options::checkPictureType() {
    const std::string& name = m_command.output;
    if (m_command.mode == Mode::gallery || name.empty()) {
        return;
    }
    const std::optional<PictureType> type = pictureTypeOf(name);
    if (m_command.mode == Mode::turntable) {
        if (type != PictureType::webp && !namesFrameFolder(name)) {
            throw UsageError(longName(*m_turntable) +
                             " writes an animated WebP (a name ending in .webp) or a folder of "
                             "PNG frames (a name ending in /), not " +
                             inQuotes(name));
        }
    } else if (!type) {
        throw UsageError("cannot tell the picture type of " + inQuotes(name) +
                         ": use a name ending in .png or .webp");
    }
    m_command.pictureType = type.value_or(PictureType::png);
    const int width = devicePixels(m_command.size.width, m_command.sampling.ratio);
    const int height = devicePixels(m_command.size.height, m_command.sampling.ratio);
    if (m_command.pictureType == PictureType::webp &&
        (width > maxWebpSide || height > maxWebpSide)) {
        throw UsageError(shortName(*m_output) + " " + inQuotes(name) + " takes a WebP of at most " +
                         std::to_string(maxWebpSide) + " pixels on a side, not " +
                         std::to_string(width) + " x " + std::to_string(height) +
                         ": give a smaller --size or --zoom");
    }
}

Mode Options::mode() const {
    if (m_gallery->count() > 0) {
        return Mode::gallery;
    }
    if (m_turntable->count() > 0) {
        return Mode::turntable;
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
    refuseUnknown();
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
        if (const std::size_t name = message.find(givenName); name != std::string::npos) {
            message.replace(name, std::string_view(givenName).size(), reading);
        }
        throw UsageError(message);
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
            "option " + inQuotes(reading) + " " +
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
