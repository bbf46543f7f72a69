// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// vantu-render: the Vantu picture from the command line, as a PNG or as the list of runs; at
// print quality; the whole catalogue at once; marked with the mirrors, the triangle and the
// points where the six hues meet; those points listed; the triangle's facts.

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <new>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "cli/command_line.h"
#include "cli/export.h"
#include "cli/gallery.h"
#include "cli/interruption.h"
#include "cli/output_folder.h"
#include "cli/progress.h"
#include "cli/resources.h"
#include "cli/snub_report.h"
#include "cli/turntable.h"
#include "drawing/draw_procedure.h"
#include "drawing/prepared_picture.h"
#include "export/model_file.h"
#include "export/output_file.h"
#include "export/picture_writer.h"
#include "export/process.h"
#include "geometry/draw_error.h"
#include "geometry/text.h"
#include "options/picture_options.h"
#include "polyhedron/dual.h"
#include "polyhedron/polyhedron_facts.h"
#include "polyhedron/wythoff.h"
#include "render/fine_picture.h"
#include "render/run_sink.h"
#include "render/sample_grid.h"
#include "setup/triangle_facts.h"
#include "setup/triangle_notation.h"
#include "snub/snub_points.h"

namespace {

using vantu::cli::Command;
using vantu::cli::Mode;

int usageError(const std::string& message) {
    std::fprintf(stderr, "vantu-render: %s\nTry 'vantu-render --help' for more information.\n",
                 message.c_str());
    return 2;
}

int failure(const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "vantu-render: %s\n", message.c_str());
    return 1;
}

void warn(const std::string& message) {
    std::fprintf(stderr, "vantu-render: %s\n", message.c_str());
}

// Writes `text` to the standard output. Throws WriteError when it cannot.
void print(const std::string& text) {
    vantu::OutputFile out = vantu::OutputFile::standardOutput();
    out.write(std::as_bytes(std::span(text)));
    out.close();
}

// A command that cannot be carried out, found before anything is written: status 1.
class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file -o names: the standard output for "-".
vantu::OutputFile openOutput(const std::string& name) {
    return name == "-" ? vantu::OutputFile::standardOutput()
                       : vantu::OutputFile::replacing(vantu::filePath(name));
}

// Closes a whole file and puts it in place of the old one. A signal that came while the last
// bytes were written still keeps the old file.
void publish(vantu::OutputFile& file) {
    file.close();
    vantu::cli::stopIfInterrupted();
    file.publish();
}

// The memory a job needs beside the picture's rows: its stack and an encoder.
std::size_t bytesPerJob(const vantu::PictureDescription& description) {
    const auto rowBytes = static_cast<std::size_t>(
                              vantu::SampleGrid(description.size, description.sampling).width()) *
                          sizeof(vantu::PackedColour);
    return vantu::cli::threadStackBytes() + 4 * rowBytes + (std::size_t{2} << 20U);
}

// Throws Refusal for a triangle whose hues meet at no definite points, found before the mirrors
// are solved: the same answer for every rotation and reverse, whatever their rounding. A code is
// solved on the sphere whatever its angles, so only a spherical triangle's code has them.
void requireMeetingPoints(const vantu::DrawRequest& request) {
    const bool code = request.notation == vantu::TriangleNotation::code;
    if (const std::optional<std::string> defect =
            code ? vantu::sphericalDefect(request.triangleCode, request.notation)
                 : vantu::triangleDefect(request.triangleCode, request.notation)) {
        throw Refusal(*defect + "; its hues meet at no definite points");
    }
}

// The listing of the points where the six hues meet in the described picture:
// requireMeetingPoints, then the picture's snub points.
std::string meetingPoints(const vantu::PictureDescription& description) {
    requireMeetingPoints(description.request);
    const vantu::PreparedPicture picture(description);
    return vantu::cli::snubReport(description.request, picture.snubPoints(),
                                  picture.setup().geometry);
}

// What a picture needs before its file is opened: --snub's points listed on the standard output
// as the unturned sphere has them, and the marks over the picture where its view puts them. A
// fault in finding them ends the program with nothing written. Returns the picture prepared with
// its marks when it has any; else, after the list, the unturned picture, whose solved triangle
// the picture reuses; else nothing.
std::optional<vantu::PreparedPicture> prepareFirst(const Command& command,
                                                   const vantu::PictureDescription& description) {
    const vantu::DrawRequest& request = description.request;
    std::optional<vantu::PreparedPicture> prepared;
    if (command.listSnubPoints) {
        requireMeetingPoints(request);
        prepared.emplace(vantu::PictureDescription{request, {}, {}, {}});
        print(vantu::cli::snubReport(request, prepared->snubPoints(), prepared->setup().geometry));
    }
    if (!command.marks.any()) {
        return prepared;
    }
    if (command.marks.snubPoints) {
        requireMeetingPoints(request);
    }
    if (prepared) {
        return prepared->redescribed(description, command.marks);
    }
    return vantu::PreparedPicture(description, command.marks);
}

// The picture of `description` with the command's marks, from what prepareFirst gave.
vantu::PreparedPicture preparedAfter(const Command& command,
                                     std::optional<vantu::PreparedPicture> first,
                                     const vantu::PictureDescription& description) {
    if (!first) {
        return vantu::PreparedPicture(description, command.marks);
    }
    if (command.marks.any()) {
        return std::move(*first);
    }
    return first->redescribed(description);
}

// --snub alone: the points listed, nothing drawn.
int listSnubPoints(const Command& command) {
    const vantu::PictureDescription description = vantu::options::describedPicture(command.picture);
    print(meetingPoints(description));
    return 0;
}

// The generating point of the command's polyhedron on `triangle`: --point's, or the point of
// --polyhedron's symbol.
vantu::GeneratingPoint generatingPoint(const Command& command,
                                       const vantu::WythoffTriangle& triangle) {
    return command.symbol ? vantu::symbolPoint(triangle, *command.symbol) : *command.point;
}

// The command's polyhedron, on the triangle of its request.
vantu::Polyhedron commandPolyhedron(const Command& command) {
    const vantu::WythoffTriangle triangle =
        vantu::wythoffTriangle(command.picture.description.request);
    return vantu::buildPolyhedron(triangle, generatingPoint(command, triangle));
}

// The command with the generating point of its polyhedron's marks found on its triangle.
Command withMarkedPoint(const Command& command) {
    Command marked = command;
    if (marked.marks.polyhedron) {
        marked.marks.generatingPoint =
            generatingPoint(command, vantu::wythoffTriangle(command.picture.description.request));
    }
    return marked;
}

// --info: the triangle's facts listed, then its polyhedron's when one is asked for; nothing
// drawn.
int listFacts(const Command& command) {
    std::string text = vantu::factLines(vantu::triangleFacts(command.picture.description.request));
    if (command.hasPolyhedron()) {
        text += vantu::polyhedronFactLines(vantu::polyhedronFacts(commandPolyhedron(command)));
    }
    print(text);
    return 0;
}

// How the command's work is shared out: as many jobs as it asks for and memory allows,
// `progress` advanced, and fewer threads than asked said as a warning. The turntable's WebP
// takes fewer, as its frames in memory allow.
vantu::WorkOptions workOptions(const Command& command, const vantu::PictureDescription& description,
                               vantu::cli::ProgressBar& progress) {
    return {vantu::cli::jobsThatFit(command.jobs, bytesPerJob(description)), &progress, warn};
}

// -o: the picture at its sampling, its rows rendered on several threads and written in order.
int drawPicture(const Command& command) {
    const vantu::PictureDescription description = vantu::options::describedPicture(command.picture);
    std::optional<vantu::PreparedPicture> first = prepareFirst(command, description);
    vantu::OutputFile file = openOutput(command.output);
    const vantu::PreparedPicture picture = preparedAfter(command, std::move(first), description);
    vantu::cli::ProgressBar progress(vantu::cli::progressStream(), "rendering", picture.height());
    vantu::cli::ExportSettings settings;
    settings.type = command.pictureType;
    settings.work = workOptions(command, description, progress);
    vantu::cli::exportPicture(picture, file, settings);
    progress.finish();
    publish(file);
    return 0;
}

// --gallery: every catalogue code in every projection, and the contact sheet; the uniform
// polyhedra, and their page; the plane triangles, and theirs.
int drawGallery(const Command& command) {
    const vantu::PictureDescription description = vantu::options::describedPicture(command.picture);
    vantu::cli::GallerySettings settings;
    settings.shared = description;
    settings.scaleText = command.picture.scaleText;
    settings.marks = command.marks;
    const std::vector<vantu::cli::GalleryPicture> pictures =
        vantu::cli::galleryPictures(command.permutations);
    const std::vector<vantu::cli::GalleryPolyhedron> polyhedra = vantu::cli::galleryPolyhedra();
    const std::vector<vantu::cli::GalleryPicture> planes = vantu::cli::galleryPlanes();
    vantu::cli::ProgressBar progress(
        vantu::cli::progressStream(), "gallery",
        static_cast<long>(pictures.size() + polyhedra.size() + planes.size()));
    vantu::cli::writeGallery(vantu::filePath(command.gallery), pictures, settings,
                             workOptions(command, description, progress), polyhedra, planes);
    return 0;
}

// Memory as messages give it: "537 MB", "2.1 GB".
std::string inMegabytes(std::uint64_t bytes) {
    const double megabytes = static_cast<double>(bytes) / 1e6;
    char text[32];
    if (megabytes >= 1000) {
        std::snprintf(text, sizeof text, "%.1f GB", megabytes / 1000);
    } else {
        std::snprintf(text, sizeof text, "%.0f MB", std::max(megabytes, 1.0));
    }
    return text;
}

// --turntable: the frames into an animated WebP or a folder of PNG files. A run that stops
// says first how many frames it wrote, then why.
int drawTurntable(const Command& command) {
    const vantu::PictureDescription description = vantu::options::describedPicture(command.picture);
    if (command.marks.snubPoints) {
        requireMeetingPoints(description.request);
    }
    vantu::cli::TurntableSettings settings;
    settings.frames = command.frames;
    settings.fps = command.fps;
    settings.marks = command.marks;
    // A folder's frames stream into their files as -o writes a picture: a job holds a row and an
    // encoder. A WebP's frames are whole, as few at once as memory asks, beside the encoder's.
    int jobs = vantu::cli::jobsThatFit(command.jobs, bytesPerJob(description));
    if (!vantu::cli::namesFrameFolder(command.output)) {
        const vantu::PngFormat format = vantu::cli::pngFormatOf(
            vantu::SampleGrid(description.size, description.sampling), command.marks.any());
        const std::uint64_t frameBytes = static_cast<std::uint64_t>(format.width) *
                                         static_cast<std::uint64_t>(format.height) *
                                         sizeof(vantu::PackedColour);
        const std::uint64_t need =
            frameBytes + vantu::animationFrameMemory(format.width, format.height);
        const std::uint64_t left = vantu::cli::memoryLeft();
        if (need > left) {
            throw Refusal("a frame of " + std::to_string(format.width) + " x " +
                          std::to_string(format.height) + " pixels needs about " +
                          inMegabytes(need) +
                          " of memory for the animated WebP, more than there is");
        }
        settings.framesInFlight =
            vantu::cli::webpFramesInFlight(frameBytes, jobs, left - need + frameBytes);
        jobs = std::min(jobs, static_cast<int>(settings.framesInFlight));
    }
    vantu::cli::ProgressBar progress(vantu::cli::progressStream(), "turntable", command.frames);
    settings.work = {jobs, &progress, warn};
    int written = 0;
    try {
        vantu::cli::writeTurntable(description, command.output, settings, written);
    } catch (...) {
        progress.finish();
        warn("wrote " + std::to_string(written) + " of the turntable's " +
             std::to_string(command.frames) + " frames to '" + vantu::escapeText(command.output) +
             "'");
        throw;
    }
    progress.finish();
    return 0;
}

// -o NAME.off, .obj, .stl or .glb: the polyhedron's model, or its dual's; --snub's points
// listed first.
int writeModelFile(const Command& command) {
    if (command.listSnubPoints) {
        (void)listSnubPoints(command);
    }
    const vantu::Polyhedron polyhedron = commandPolyhedron(command);
    if (polyhedron.faces.empty()) {
        const vantu::PolyhedronFacts facts = vantu::polyhedronFacts(polyhedron);
        throw Refusal("the point gives no polyhedron to write: " +
                      facts.degenerate.value_or("it has no faces"));
    }
    vantu::writeModel(command.output,
                      command.dual ? vantu::dualPolyhedron(polyhedron) : polyhedron);
    return 0;
}

// Lists the window's own drawing on stdout, run by run, and hands each finished row to the
// picture file when there is one, with the marks painted over it: the listing is the drawing's
// own, the marks are the file's.
class ListingSink : public vantu::RunSink {
public:
    ListingSink(vantu::OutputFile& listing, int width, vantu::PictureWriter* picture)
        : m_listing(listing),
          m_picture(picture),
          m_row(static_cast<std::size_t>(width), vantu::grey) {}

    // Lists the runs of `drawing`, with its marks painted over the file's rows.
    void draw(const vantu::PreparedPicture& drawing) {
        m_drawing = &drawing;
        vantu::runDrawing(drawing, *this);
    }

    void drawRun(int row, int first, int end, vantu::PackedColour colour) override {
        m_text += "run ";
        for (const int value : {row, first, end, colour}) {
            char digits[16];
            m_text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
            m_text += ' ';
        }
        m_text.back() = '\n';
        for (int col = std::max(first, 0); col < end && col < static_cast<int>(m_row.size());
             ++col) {
            m_row[static_cast<std::size_t>(col)] = colour;
        }
    }
    void endRow(int row) override {
        m_text += "end " + std::to_string(row) + "\n";
        m_listing.write(std::as_bytes(std::span(m_text)));
        m_text.clear();
        if (m_picture != nullptr) {
            m_drawing->paintMarks(row, m_row);
            m_picture->writeRow(m_row);
        }
        vantu::cli::stopIfInterrupted();
    }
    // The runs of a row that a fault stopped, for the listing.
    void flush() {
        m_listing.write(std::as_bytes(std::span(m_text)));
        m_text.clear();
        m_listing.close();
    }

private:
    vantu::OutputFile& m_listing;
    vantu::PictureWriter* m_picture;
    const vantu::PreparedPicture* m_drawing = nullptr;
    std::vector<vantu::PackedColour> m_row;
    std::string m_text;
};

// --runs: the window's own drawing listed, and painted into the file -o names when given. A
// fault in the drawing writes no file; the runs before it are listed.
int listRuns(const Command& command) {
    const vantu::PictureDescription description = vantu::options::describedPicture(command.picture);
    std::optional<vantu::PreparedPicture> first = prepareFirst(command, description);
    std::optional<vantu::OutputFile> file;
    std::optional<vantu::PictureWriter> writer;
    if (!command.output.empty()) {
        file.emplace(openOutput(command.output));
        writer.emplace(
            *file, command.pictureType,
            vantu::cli::pngFormatOf(vantu::SampleGrid(description.size, description.sampling),
                                    command.marks.any()));
    }
    vantu::OutputFile listing = vantu::OutputFile::standardOutput();
    ListingSink sink(listing, description.size.width, writer ? &*writer : nullptr);
    try {
        sink.draw(preparedAfter(command, std::move(first), description));
    } catch (const vantu::DrawError&) {
        sink.flush();
        throw;
    }
    sink.flush();
    if (writer) {
        writer->finish();
        publish(*file);
    }
    return 0;
}

// Status 128 + N for the signal N that asked to stop, with a word on stderr; none for a reader
// that went away (SIGPIPE), which in a pipeline is no news.
int interrupted(int signal) {
    if (!vantu::cli::isBrokenPipe(signal)) {
        warn(vantu::cli::Interrupted(signal).what() + std::string("; nothing more was written"));
    }
    return 128 + signal;
}

int run(const Command& given) {
    vantu::cli::catchInterruptions();
    int status = 0;
    try {
        const Command command = withMarkedPoint(given);
        switch (command.mode) {
            case Mode::picture:
                status = drawPicture(command);
                break;
            case Mode::runs:
                status = listRuns(command);
                break;
            case Mode::snub:
                status = listSnubPoints(command);
                break;
            case Mode::info:
                status = listFacts(command);
                break;
            case Mode::gallery:
                status = drawGallery(command);
                break;
            case Mode::turntable:
                status = drawTurntable(command);
                break;
            case Mode::model:
                status = writeModelFile(command);
                break;
        }
    } catch (const vantu::cli::Interrupted& e) {
        return interrupted(e.signal());
    } catch (const vantu::DrawError& e) {
        status = failure(e.what());
    } catch (const vantu::WriteError& e) {
        // A write that a signal broke, such as EPIPE after SIGPIPE, counts as the signal.
        if (const int signal = vantu::cli::interruption()) {
            return interrupted(signal);
        }
        status = failure(e.what());
    } catch (const vantu::cli::GalleryError& e) {
        status = failure(e.what());
    } catch (const vantu::cli::FolderError& e) {
        status = failure(e.what());
    } catch (const Refusal& e) {
        status = failure(e.what());
    }
    // Never success, nor another failure, after a signal.
    if (const int signal = vantu::cli::interruption()) {
        return interrupted(signal);
    }
    return status;
}

int runCommandLine(int argc, char* argv[]) {
    vantu::cli::ParsedLine line;
    try {
        line = vantu::cli::parseCommandLine(vantu::programArguments(argc, argv));
    } catch (const vantu::cli::UsageError& e) {
        return usageError(e.what());
    }
    switch (line.action) {
        case vantu::cli::Action::help:
            print(vantu::cli::helpText());
            return 0;
        case vantu::cli::Action::version:
            print(std::string("vantu-render ") + VANTU_VERSION + "\n");
            return 0;
        case vantu::cli::Action::run:
            break;
    }
    return run(line.command);
}

}  // namespace

int main(int argc, char* argv[]) {
    vantu::prepareProcess();
    vantu::cli::setUpHeap();
    try {
        (void)vantu::defaultKernelVariant();  // VANTU_KERNELS names a variant that runs here
        return runCommandLine(argc, argv);
    } catch (const std::bad_alloc&) {
        return failure("not enough memory");
    } catch (const std::exception& e) {
        // Nothing else is expected; still a message and a status, never an abort.
        return failure(e.what());
    }
}
