// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// vantu-render: the Vantu picture from the command line, as a PNG or as the list of runs; at
// print quality; the whole catalogue at once; the points where the six hues meet.

#include <signal.h>

#include <charconv>
#include <cstdio>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/export.h"
#include "cli/gallery.h"
#include "cli/interruption.h"
#include "cli/progress.h"
#include "cli/resources.h"
#include "cli/snub_report.h"
#include "cli/turntable.h"
#include "drawing/draw_procedure.h"
#include "export/output_file.h"
#include "export/picture_writer.h"
#include "export/process.h"
#include "geometry/draw_error.h"
#include "geometry/text.h"
#include "render/fine_picture.h"
#include "render/run_sink.h"
#include "render/snub_points.h"
#include "setup/draw_request.h"
#include "setup/triangle_code.h"

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

// The memory a job needs beside the picture's rows: its stack and an encoder.
std::size_t bytesPerJob(const Command& command) {
    const auto rowBytes =
        static_cast<std::size_t>(vantu::devicePixels(command.size.width, command.sampling.ratio)) *
        sizeof(vantu::PackedColour);
    return vantu::cli::threadStackBytes() + 4 * rowBytes + (std::size_t{2} << 20U);
}

// --gallery: every catalogue code in every projection, and the contact sheet.
int drawGallery(const Command& command) {
    vantu::cli::GallerySettings settings;
    settings.scaleText = command.scaleText;
    settings.scale = vantu::cli::readRequest(command).scale;
    settings.sampling = command.sampling;
    settings.view = command.view;
    settings.size = command.size;
    const std::vector<vantu::cli::GalleryPicture> pictures =
        vantu::cli::galleryPictures(command.permutations);
    vantu::cli::ProgressBar progress(vantu::cli::progressStream(), "gallery",
                                     static_cast<long>(pictures.size()));
    vantu::cli::GalleryJobs jobs;
    jobs.jobs = vantu::cli::jobsThatFit(command.jobs, bytesPerJob(command));
    jobs.progress = &progress;
    jobs.onFewerThreads = warn;
    vantu::cli::writeGallery(command.output, pictures, settings, jobs);
    return 0;
}

// --turntable: the frames into an animated WebP or a folder of PNG files. A run that stops
// says first how many frames it wrote, then why.
int drawTurntable(const Command& command) {
    const vantu::PictureDescription description = vantu::cli::describedPicture(command);
    vantu::cli::ProgressBar progress(vantu::cli::progressStream(), "turntable", command.frames);
    vantu::cli::TurntableSettings settings;
    settings.frames = command.frames;
    settings.fps = command.fps;
    // Each job holds a frame being rendered and one waiting to be encoded.
    const auto frameBytes =
        static_cast<std::size_t>(vantu::devicePixels(command.size.width, command.sampling.ratio)) *
        static_cast<std::size_t>(vantu::devicePixels(command.size.height, command.sampling.ratio)) *
        sizeof(vantu::PackedColour);
    settings.jobs = vantu::cli::jobsThatFit(command.jobs, bytesPerJob(command) + 2 * frameBytes);
    settings.progress = &progress;
    settings.onFewerThreads = warn;
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

// Lists the window's own drawing on stdout, run by run, and hands each finished row to the PNG
// when there is one.
class ListingSink : public vantu::RunSink {
public:
    ListingSink(vantu::OutputFile& listing, int width, vantu::PictureWriter* png,
                const vantu::cli::SnubMarks* marks)
        : m_listing(listing),
          m_png(png),
          m_marks(marks),
          m_row(static_cast<std::size_t>(width), vantu::grey) {}

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
        if (m_png != nullptr) {
            if (m_marks != nullptr) {
                m_marks->mark(row, m_row);
            }
            m_png->writeRow(m_row);
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
    vantu::PictureWriter* m_png;
    const vantu::cli::SnubMarks* m_marks;
    std::vector<vantu::PackedColour> m_row;
    std::string m_text;
};

// -o, --runs and --snub. The meeting points come first: a fault in finding them (or in the scale
// they are found at) ends the program with nothing written. A fault in the drawing writes no
// PNG; the runs before it are listed.
int drawAndList(const Command& command) {
    const vantu::PictureDescription description = vantu::cli::describedPicture(command);
    const vantu::DrawRequest& request = description.request;
    const bool snubPoints = command.listSnubPoints || command.markSnubPoints;
    std::vector<vantu::SnubPoint> points;
    if (snubPoints) {
        // Before the mirrors are solved: the same answer for every rotation and reverse,
        // whatever their rounding.
        if (const std::optional<std::string> defect = vantu::triangleDefect(request.triangleCode)) {
            return failure(*defect + "; its hues meet at no definite points");
        }
        const vantu::DrawSetup setup = vantu::prepareDrawing(request);
        points = vantu::findSnubPoints(setup.normals, setup.pi);
    }
    if (command.listSnubPoints) {
        print(vantu::cli::snubReport(request, points));
    }
    if (command.mode == Mode::snub) {
        return 0;
    }
    std::optional<vantu::OutputFile> file;
    if (!command.output.empty()) {
        file.emplace(command.output == "-" ? vantu::OutputFile::standardOutput()
                                           : vantu::OutputFile::replacing(command.output));
    }
    std::optional<vantu::cli::SnubMarks> marks;
    if (command.markSnubPoints) {
        // Where the view turned them.
        if (description.view != vantu::View{}) {
            const vantu::DrawSetup turned = vantu::prepareView(description);
            points = vantu::findSnubPoints(turned.normals, turned.pi);
        }
        marks.emplace(points, request.scale, request.projection, description.sampling.ratio,
                      description.size);
    }
    const vantu::cli::SnubMarks* marking = marks ? &*marks : nullptr;

    if (command.mode == Mode::runs) {
        std::optional<vantu::PictureWriter> png;
        if (file) {
            png.emplace(*file, command.pictureType,
                        vantu::cli::pngFormatOf(description.size, description.sampling,
                                                marking != nullptr));
        }
        vantu::OutputFile listing = vantu::OutputFile::standardOutput();
        ListingSink sink(listing, description.size.width, png ? &*png : nullptr, marking);
        try {
            vantu::runDrawing(description, sink);
        } catch (const vantu::DrawError&) {
            sink.flush();
            throw;
        }
        sink.flush();
        if (png) {
            png->finish();
        }
    } else {
        const vantu::FinePicture picture = vantu::preparePicture(description);
        vantu::cli::ProgressBar progress(vantu::cli::progressStream(), "rendering",
                                         picture.height());
        vantu::cli::ExportSettings settings;
        settings.type = command.pictureType;
        settings.jobs = vantu::cli::jobsThatFit(command.jobs, bytesPerJob(command));
        settings.progress = &progress;
        settings.marks = marking;
        settings.onFewerThreads = warn;
        vantu::cli::exportPicture(picture, *file, settings);
        progress.finish();
    }
    if (file) {
        file->close();
        // A signal that came while the last bytes were written still keeps the old file.
        vantu::cli::stopIfInterrupted();
        file->publish();
    }
    return 0;
}

// Status 128 + N for the signal N that asked to stop, with a word on stderr; none for a reader
// that went away (SIGPIPE), which in a pipeline is no news.
int interrupted(int signal) {
    if (signal != SIGPIPE) {
        warn(vantu::cli::Interrupted(signal).what() + std::string("; nothing more was written"));
    }
    return 128 + signal;
}

int run(const Command& command) {
    vantu::cli::catchInterruptions();
    int status = 0;
    try {
        status = command.mode == Mode::gallery     ? drawGallery(command)
                 : command.mode == Mode::turntable ? drawTurntable(command)
                                                   : drawAndList(command);
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
        line = vantu::cli::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
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
