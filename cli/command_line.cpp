// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "cli/command_line.h"

#include <memory>
#include <optional>

#include "cli/help_layout.h"
#include "cli/turntable.h"
#include "drawing/picture_point.h"
#include "export/file_name.h"
#include "export/model_file.h"
#include "export/picture_writer.h"
#include "geometry/draw_error.h"
#include "geometry/raster.h"
#include "options/option_kinds.h"
#include "options/picture_options.h"
#include "polyhedron/wythoff.h"

namespace vantu::cli {
namespace detail {
namespace {

using options::addFlag;
using options::addName;
using options::addWholeNumber;
using options::inQuotes;
using options::listed;

// The arguments CLI11 set aside, in their order, "--" among them where it was given: the first
// other one is refused, quoted so that no text the user typed garbles the message.
std::string unexpected(const std::vector<std::string>& args) {
    bool options = true;
    for (const std::string& arg : args) {
        if (arg == "--" && options) {
            options = false;
        } else {
            return (options && arg.starts_with('-') ? "unknown option " : "unexpected argument ") +
                   inQuotes(arg);
        }
    }
    return "unexpected arguments";
}

// A check that refuses what `read` throws DrawError for, in the core's words.
template <class Read>
CLI::Validator coreCheck(Read read) {
    return {[read](const std::string& text) {
                try {
                    (void)read(text);
                    return std::string();
                } catch (const DrawError& e) {
                    return std::string(e.what());
                }
            },
            ""};
}

// vantu-render's options, each declared once: CLI11 parses with them and checks their
// combinations, and the help is made from them.
class Options {
public:
    Options();
    Options(const Options&) = delete;
    Options& operator=(const Options&) = delete;

    [[nodiscard]] ParsedLine parse(const std::vector<std::string>& args);
    [[nodiscard]] std::string help() const { return m_app.help(); }

private:
    void checkMarks() const;
    void checkPolyhedron() const;
    [[nodiscard]] Mode mode() const;
    void checkListings() const;
    void checkPictureType();
    void checkSamplesOffTheAxis() const;
    void checkPictureHasPixels() const;

    Command m_command;
    CLI::App m_app;
    bool m_runsGiven = false;
    bool m_infoGiven = false;
    std::string m_outputGroup = "Output (at least one)";
    CLI::Option* m_output = nullptr;
    CLI::Option* m_runs = nullptr;
    CLI::Option* m_snub = nullptr;
    CLI::Option* m_info = nullptr;
    CLI::Option* m_gallery = nullptr;
    CLI::Option* m_turntable = nullptr;
    CLI::Option* m_size = nullptr;
    CLI::Option* m_zoom = nullptr;
    CLI::Option* m_polyhedron = nullptr;
    CLI::Option* m_point = nullptr;
    CLI::Option* m_dual = nullptr;
    CLI::Option* m_markPolyhedron = nullptr;
    std::vector<const CLI::Option*> m_printQuality;  // what only a picture file can use
    std::vector<const CLI::Option*> m_pictureOnly;   // what only a picture of any kind can use
    std::vector<const CLI::Option*> m_marks;         // --mark-*
};

Options::Options()
    : m_app(
          "Draw the unit sphere seen through the kaleidoscope of three mirrors, exactly as the "
          "Vantu window draws it, into a " +
              std::to_string(pictureWidth) + " x " + std::to_string(pictureHeight) +
              " PNG or WebP or as the list of runs handed to the picture; or at print quality, "
              "or turning as an animation, or the whole catalogue at once, with the mirrors, the "
              "triangle and the points where the six hues meet marked or not; or list those "
              "points, or what can be said of the triangle.",
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
    m_app.allow_extras(false);
    m_app.option_defaults()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
        ->disable_flag_override();

    m_app.option_defaults()->group("Drawing (each defaults to the window's start-up state)");
    const options::DrawingOptions drawing = options::addDrawingOptions(m_app, m_command.picture);
    CLI::Option* size = options::addSizeOption(m_app, m_command.picture);
    m_size = size;

    m_app.option_defaults()->group(m_outputGroup);
    m_output = addName(
        m_app,
        {"-o,--output", "FILE",
         "write the picture as a PNG (FILE.png, or - for the standard output) or a lossless WebP "
         "(FILE.webp); with --turntable an animated WebP, or PNG frames into a folder when FILE "
         "ends in /; with --polyhedron or --point, the polyhedron's model for FILE.off, .obj "
         "(with FILE.mtl), .stl or .glb; an existing file is replaced only once it is whole"},
        m_command.output, "a file name");
    m_runs = addFlag(m_app,
                     {"--runs", "",
                      "print every call to the picture, one per line: \"run ROW FIRST END "
                      "PACKED\" and \"end ROW\""},
                     m_runsGiven);
    m_snub = addFlag(m_app,
                     {"--snub", "",
                      "print every point of the sphere where the six hues meet (D1 = D2 = D3): "
                      "x, y, z; k, the brightness the colouring gives it (how many of the three "
                      "dot products with the mirrors' normals are not negative, a point on a "
                      "mirror counting as on its positive side; 2 when none); the signs of the "
                      "three dot products (+, -, or 0 on the mirror, within 1e-12); the common D; "
                      "and the pixel that shows it"},
                     m_command.listSnubPoints);
    m_info = addFlag(m_app,
                     {"--info", "",
                      "print what can be said of the triangle of --code or --triangle, turned "
                      "by --rotation and --reverse, one \"key: value\" line each: its notation "
                      "(p q r), angles, sides, area, the group its mirrors generate with its "
                      "order and number of mirrors, and how many times the triangle's images "
                      "cover the sphere; nothing is drawn"},
                     m_infoGiven);
    m_gallery = addName(m_app,
                        {"--gallery", "DIR",
                         "draw every catalogue code in each projection into DIR as "
                         "LABEL-rROTATION[-rev]-PROJECTION.png, with the contact sheet "
                         "DIR/index.html, and every uniform polyhedron of a Wythoff symbol as "
                         "UN.png (its edges on its triangle's sphere), UN.off and UN.glb, with "
                         "DIR/polyhedra.html, and triangles of the Euclidean and the hyperbolic "
                         "plane as P-Q-R-r0-stereo.png, with DIR/planes.html"},
                        m_command.gallery, "a folder");

    m_app.option_defaults()->group("Polyhedron (with --info, " + shortName(*m_output) +
                                   " or --mark-polyhedron)");
    DrawRequest& request = m_command.picture.description.request;
    m_polyhedron = options::addChecked(
        m_app,
        {"--polyhedron", "\"SYMBOL\"",
         "the polyhedron of a Wythoff symbol, on its triangle \"p q r\" in the usual notation "
         "instead of a code: \"p | q r\" generated by the vertex A, \"p q | r\" by the point of "
         "side AB equally far from mirrors 1 and 2, \"p q r |\" by the point equally far from "
         "the three mirrors, \"| p q r\" by the snub point of the published snub polyhedron; as "
         "in \"5 | 2 3\" (the icosahedron) or \"5/2 | 2 3\" (the great icosahedron)"},
        [this, &request](const std::string& text) {
            m_command.symbol = parseWythoffSymbol(text);
            const DrawRequest symbolRequest = symbolTriangle(*m_command.symbol);
            request.triangleCode = symbolRequest.triangleCode;
            request.notation = symbolRequest.notation;
        },
        coreCheck(parseWythoffSymbol), "");
    m_point = options::addChecked(
        m_app,
        {"--point", "POINT",
         "the polyhedron generated by POINT on the triangle of --code or --triangle: x,y,z (a "
         "direction, the sphere's before --view), vertex:A|B|C, side:1|2|3 (on that mirror, "
         "equally far from the other two), incentre, or snub:N (the point N of --snub, whose "
         "polyhedron is the snub one)"},
        [this](const std::string& text) { m_command.point = parseGeneratingPoint(text); },
        coreCheck(parseGeneratingPoint), "");
    m_dual = addFlag(m_app,
                     {"--dual", "",
                      "write the polyhedron's dual instead, its reciprocal about the midsphere; a "
                      "polyhedron with a face through the centre has none"},
                     m_command.dual);

    m_app.option_defaults()->group("Print quality and marks (with " + shortName(*m_output) +
                                   " or " + shortName(*m_gallery) + ")");
    const options::SamplingOptions sampling = options::addSamplingOptions(m_app, m_command.picture);
    m_zoom = sampling.zoom;
    OverlayOptions& marks = m_command.marks;
    CLI::Option* markSnub =
        addFlag(m_app,
                {"--mark-snub", "",
                 "ring each point where the six hues meet, and on the sphere its antipode, black "
                 "inside white"},
                marks.snubPoints);
    CLI::Option* markMirrors =
        addFlag(m_app,
                {"--mark-mirrors", "",
                 "draw the three mirrors as great circles, or a plane's geodesics: mirror 1 "
                 "orange, 2 pink, 3 azure"},
                marks.mirrors);
    CLI::Option* markGroup = addFlag(
        m_app,
        {"--mark-group", "",
         "draw every mirror of the group the three generate, thin and white, when it is finite "
         "or a plane's discrete group: the lines of the tiling by the triangle's images, in a "
         "plane out to where its tiles shrink below a pixel"},
        marks.groupMirrors);
    CLI::Option* markTriangle =
        addFlag(m_app, {"--mark-triangle", "", "outline the triangle in white"}, marks.triangle);
    m_markPolyhedron =
        addFlag(m_app,
                {"--mark-polyhedron", "",
                 "draw the edges of the polyhedron of --polyhedron or --point as great arcs "
                 "between the vertices they join: the polyhedron seen from the centre"},
                marks.polyhedron);
    m_marks = {markSnub, markMirrors, markGroup, markTriangle, m_markPolyhedron};
    CLI::Option* permutations = addFlag(
        m_app,
        {"--permutations", "", "the gallery also draws rotations 1 and 2 and their reverses"},
        m_command.permutations);
    const CLI::Option* jobs = addWholeNumber(m_app, {"--jobs", "N", "threads to share the work"},
                                             m_command.jobs, {1, maxJobs, "one per core"});

    m_app.option_defaults()->group("Turntable (with " + shortName(*m_output) + ")");
    m_turntable = addWholeNumber(
        m_app,
        {"--turntable", "N",
         "N frames of the sphere turning once, frame k at the view LON + (360 x k) / N, LAT, "
         "ROLL (a plane's picture rolling once: LON, LAT, ROLL + (360 x k) / N): an animated WebP "
         "for -o NAME.webp, or the PNG files 0000.png, 0001.png, ... for -o DIR/"},
        m_command.frames, {1, maxFrames, ""});
    CLI::Option* fps = addWholeNumber(m_app, {"--fps", "F", "the animated WebP's frames a second"},
                                      m_command.fps, {1, maxFps, ""});
    m_printQuality = {sampling.zoom, sampling.antialias, jobs, drawing.view, size};
    m_pictureOnly = m_printQuality;
    m_pictureOnly.insert(m_pictureOnly.end(), {drawing.scale, drawing.projection});

    m_app.option_defaults()->group("Information");
    const CLI::Option* help = m_app.set_help_flag("-h,--help", "show this help and exit");
    // Once every value is checked, and only when --help is not given.
    m_app.add_flag_callback(
        "--version",
        [help] {
            if (help->count() == 0) {
                throw CLI::CallForVersion();
            }
        },
        "show the version and exit");

    // The combinations that cannot be given; CLI11 checks them once every value is read.
    for (CLI::Option* other :
         {drawing.code, drawing.triangle, drawing.rotation, drawing.reverse, drawing.projection,
          m_output, m_runs, m_snub, m_info, m_turntable, m_polyhedron, m_point}) {
        m_gallery->excludes(other);
    }
    for (CLI::Option* other :
         {drawing.code, drawing.triangle, drawing.rotation, drawing.reverse, m_point}) {
        m_polyhedron->excludes(other);
    }
    for (CLI::Option* other : {m_output, m_runs, m_snub}) {
        m_info->excludes(other);
    }
    permutations->needs(m_gallery);
    m_turntable->needs(m_output);
    fps->needs(m_turntable);
    for (CLI::Option* other : {m_runs, m_snub}) {
        m_turntable->excludes(other);
    }
    m_runs->excludes(sampling.zoom);
    m_runs->excludes(sampling.antialias);
}

ParsedLine Options::parse(const std::vector<std::string>& args) {
    std::vector<std::string> unread(args.rbegin(), args.rend());  // CLI11 takes from the back
    try {
        m_app.parse(unread);
    } catch (const CLI::CallForHelp&) {
        return {Action::help, {}};
    } catch (const CLI::CallForVersion&) {
        return {Action::version, {}};
    } catch (const CLI::ExtrasError&) {
        checkMarks();  // a combination, which goes before an argument that is no option
        throw UsageError(unexpected(m_app.remaining()));
    } catch (const CLI::ParseError& error) {
        throw UsageError(error.what());
    }
    checkMarks();
    checkPolyhedron();
    m_command.mode = mode();
    checkListings();
    checkPictureHasPixels();
    checkPictureType();
    checkSamplesOffTheAxis();
    return {Action::run, m_command};
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
        return modelTypeOf(m_command.output).has_value() ? Mode::model : Mode::picture;
    }
    if (m_snub->count() > 0) {
        return Mode::snub;
    }
    if (m_info->count() > 0) {
        return Mode::info;
    }
    std::vector<std::string> outputs;
    for (const CLI::Option* option : m_app.get_options(
             [this](const CLI::Option* o) { return o->get_group() == m_outputGroup; })) {
        outputs.push_back(usageOf(*option));
    }
    throw UsageError("nothing to do: give " + listed(outputs, "or"));
}

// The marks go over a picture file or the gallery's pictures.
void Options::checkMarks() const {
    if (m_output->count() > 0 || m_gallery->count() > 0) {
        return;
    }
    for (const CLI::Option* mark : m_marks) {
        if (mark->count() > 0) {
            throw UsageError(mark->get_name() + " requires " + m_output->get_name() + " or " +
                             m_gallery->get_name());
        }
    }
}

// The options that ask something of a polyhedron need one, and a model file needs one; a model
// draws nothing.
void Options::checkPolyhedron() const {
    const std::string given = m_polyhedron->get_name() + " or " + m_point->get_name();
    if (!m_command.hasPolyhedron()) {
        for (const CLI::Option* option : {m_markPolyhedron, m_dual}) {
            if (option->count() > 0) {
                throw UsageError(option->get_name() + " requires " + given);
            }
        }
    }
    const bool model = m_output->count() > 0 && modelTypeOf(m_command.output).has_value();
    if (model && !m_command.hasPolyhedron()) {
        throw UsageError(shortName(*m_output) + " " + inQuotes(m_command.output) +
                         " writes the model of a polyhedron: give " + given);
    }
    if (m_dual->count() > 0 && !model) {
        throw UsageError(m_dual->get_name() + " writes the dual as a model; it requires " +
                         shortName(*m_output) + " NAME.off, .obj, .stl or .glb");
    }
}

// What the listings cannot go with: a listing alone draws nothing, so it has no use for how a
// picture is drawn (the snub points' listing names their pixels, so it takes the scale and the
// projection), and a picture on the standard output would share it with them.
void Options::checkListings() const {
    const bool info = m_command.mode == Mode::info;
    if (info || m_command.mode == Mode::snub) {
        const std::string listing =
            info ? m_info->get_name() : m_snub->get_name() + " without " + shortName(*m_output);
        for (const CLI::Option* option : info ? m_pictureOnly : m_printQuality) {
            if (option->count() > 0) {
                throw UsageError(listing + " draws nothing; it cannot be combined with " +
                                 option->get_name());
            }
        }
    }
    if (m_command.mode == Mode::model) {
        std::vector<const CLI::Option*> drawn = m_pictureOnly;
        drawn.insert(drawn.end(), m_marks.begin(), m_marks.end());
        for (const CLI::Option* option : drawn) {
            if (option->count() > 0) {
                throw UsageError(shortName(*m_output) + " " + inQuotes(m_command.output) +
                                 " writes a model and draws nothing; it cannot be combined "
                                 "with " +
                                 option->get_name());
            }
        }
    }
    if (m_command.output == "-" && (m_runs->count() > 0 || m_snub->count() > 0)) {
        throw UsageError(shortName(*m_output) +
                         " - writes the PNG to the standard output; it cannot be combined with " +
                         listed({m_runs->get_name(), m_snub->get_name()}, "or"));
    }
}

// The type of the picture file from its name, and its size against what that type takes.
void Options::checkPictureType() {
    const std::string& name = m_command.output;
    if (name.empty() || m_command.mode == Mode::model) {
        return;
    }
    const std::optional<PictureType> type = pictureTypeOf(name);
    if (m_command.mode == Mode::turntable) {
        if (type != PictureType::webp && !namesFrameFolder(name)) {
            throw UsageError(m_turntable->get_name() +
                             " writes an animated WebP (a name ending in .webp) or a folder of "
                             "PNG frames (a name ending in /), not " +
                             inQuotes(name));
        }
    } else if (!type) {
        throw UsageError("cannot tell the picture type of " + inQuotes(name) + ": " +
                         std::string(pictureTypeAdvice));
    }
    m_command.pictureType = type.value_or(PictureType::png);
    const PictureDescription& picture = m_command.picture.description;
    const SampleGrid grid(picture.size, picture.sampling);
    const int width = grid.width();
    const int height = grid.height();
    if (m_command.pictureType == PictureType::webp &&
        (width > maxWebpSide || height > maxWebpSide)) {
        throw UsageError(shortName(*m_output) + " " + inQuotes(name) + " takes a WebP of at most " +
                         std::to_string(maxWebpSide) + " pixels on a side, not " +
                         std::to_string(width) + " x " + std::to_string(height) +
                         ": give a smaller --size or --zoom");
    }
}

// A --zoom below 1 can leave a small --size no pixel on a side: such a picture is refused
// before any file or folder is made.
void Options::checkPictureHasPixels() const {
    const PictureDescription& picture = m_command.picture.description;
    const SampleGrid grid(picture.size, picture.sampling);
    const int width = grid.width();
    const int height = grid.height();
    if (width >= 1 && height >= 1) {
        return;
    }
    throw UsageError(m_size->get_name() + " " + options::detail::sizeText(picture.size) + " at " +
                     m_zoom->get_name() + " " + formatNumber(picture.sampling.ratio) +
                     " makes a picture of " + std::to_string(width) + " x " +
                     std::to_string(height) + " pixels: give a larger " + m_size->get_name() +
                     " or " + m_zoom->get_name());
}

// At a fractional zoom a sample can fall exactly on the vertical axis through the picture's
// centre, where a projection that takes the azimuth (the stereographic and gnomonic ones) divides
// by zero and the drawing would stop in its first row. Such a size is refused before anything is
// drawn, with the nearest narrower size that keeps every sample off the axis.
void Options::checkSamplesOffTheAxis() const {
    const PictureDescription& picture = m_command.picture.description;
    const PictureSize fitting =
        offAxisSize(picture.size, picture.sampling, picture.request.projection);
    if (fitting == picture.size) {
        return;
    }
    throw UsageError(
        m_size->get_name() + " " + options::detail::sizeText(picture.size) + " at " +
        m_zoom->get_name() + " " + formatNumber(picture.sampling.ratio) +
        " puts a sample on the vertical axis through the picture's centre, where the " +
        std::string(projectionName(picture.request.projection)) + " picture is not defined; " +
        m_size->get_name() + " " + options::detail::sizeText(fitting) + " draws it");
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
