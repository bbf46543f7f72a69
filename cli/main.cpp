// vantu-render: the Vantu picture from the command line, as a PNG or as the list of runs; at
// print quality; the whole catalogue at once; the points where the six hues meet.

#include <QImage>
#include <QString>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/export.h"
#include "cli/gallery.h"
#include "cli/progress.h"
#include "cli/snub_report.h"
#include "drawing/draw_procedure.h"
#include "geometry/draw_error.h"
#include "render/fine_picture.h"
#include "render/run_sink.h"
#include "render/snub_points.h"
#include "setup/draw_request.h"

namespace {

using vantu::cli::Command;
using vantu::cli::Mode;

// Paints the runs into an image and, when asked, prints each sink call.
class OutputSink : public vantu::RunSink {
public:
    OutputSink(QImage* image, bool printRuns) : m_image(image), m_printRuns(printRuns) {}

    void drawRun(int row, int first, int end, vantu::PackedColour colour) override {
        if (m_printRuns) {
            std::printf("run %d %d %d %d\n", row, first, end, colour);
        }
        if (m_image != nullptr) {
            auto* line = reinterpret_cast<QRgb*>(m_image->scanLine(row));
            const QRgb rgb = vantu::cli::toRgb(colour);
            for (int col = first; col < end && col < vantu::pictureWidth; ++col) {
                line[col] = rgb;
            }
        }
    }
    void endRow(int row) override {
        if (m_printRuns) {
            std::printf("end %d\n", row);
        }
    }

private:
    QImage* m_image;
    bool m_printRuns;
};

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

// --gallery: every catalogue code in every projection, and the contact sheet.
int drawGallery(const Command& command) {
    try {
        vantu::cli::GallerySettings settings;
        settings.scaleText = command.scaleText;
        settings.scale = vantu::cli::readRequest(command).scale;
        settings.sampling = command.sampling;
        const std::vector<vantu::cli::GalleryPicture> pictures =
            vantu::cli::galleryPictures(command.permutations);
        vantu::cli::ProgressBar progress(vantu::cli::progressStream(), "gallery",
                                         static_cast<long>(pictures.size()));
        vantu::cli::writeGallery(command.output, pictures, settings, command.jobs, &progress);
    } catch (const vantu::DrawError& e) {
        return failure(e.what());
    } catch (const vantu::cli::GalleryError& e) {
        return failure(e.what());
    }
    return 0;
}

// The window's own drawing, listed on stdout and painted into `image` when there is one.
int listRuns(const vantu::DrawRequest& request, QImage& image) {
    OutputSink sink(image.isNull() ? nullptr : &image, true);
    int status = 0;
    try {
        vantu::runDrawing(request, sink);
    } catch (const vantu::DrawError& e) {
        status = failure(e.what());
    }
    if (std::fflush(stdout) != 0) {
        return failure("cannot write the runs");
    }
    return status;
}

// The picture at the command's sampling, its rows shared among threads.
int renderFinePicture(const Command& command, const vantu::DrawRequest& request, QImage& image) {
    try {
        const vantu::DrawSetup setup = vantu::prepareDrawing(request);
        const vantu::FinePicture picture(request.scale, setup.pi, request.projection, setup.normals,
                                         command.sampling);
        vantu::cli::ProgressBar progress(vantu::cli::progressStream(), "rendering",
                                         picture.height());
        vantu::cli::RenderedImage rendered =
            vantu::cli::renderImage(picture, command.jobs, &progress);
        progress.finish();
        image = std::move(rendered.image);
        if (rendered.fault) {
            return failure(rendered.fault->what());
        }
    } catch (const vantu::DrawError& e) {
        return failure(e.what());
    }
    return 0;
}

// -o, --runs and --snub. The meeting points come first: a fault in finding them (or in the scale
// they are found at) ends the program with nothing written. In the picture, as in the window, a
// fault keeps what was drawn before it, and -o writes that.
int drawAndList(const Command& command) {
    const bool snubPoints = command.listSnubPoints || command.markSnubPoints;
    QImage image;  // the PNG's, transparent where nothing is drawn
    if (!command.output.empty()) {
        image = QImage(vantu::pictureWidth * command.sampling.zoom,
                       vantu::pictureHeight * command.sampling.zoom, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
    }
    std::optional<vantu::DrawRequest> request;
    std::vector<vantu::SnubPoint> points;
    int status = 0;
    try {
        request = vantu::cli::readRequest(command);
        if (snubPoints) {
            points = vantu::findSnubPoints(vantu::prepareDrawing(*request).normals);
        }
    } catch (const vantu::DrawError& e) {
        status = failure(e.what());
        if (snubPoints) {
            return status;
        }
    }
    if (command.listSnubPoints) {
        std::fputs(vantu::cli::snubReport(*request, points).c_str(), stdout);
    }
    if (request && command.mode == Mode::runs) {
        status = listRuns(*request, image);
    } else if (request && command.mode == Mode::picture) {
        status = renderFinePicture(command, *request, image);
    }
    if (std::fflush(stdout) != 0) {
        return failure("cannot write to the standard output");
    }
    if (command.output.empty()) {
        return status;
    }
    if (command.markSnubPoints) {
        vantu::cli::markSnubPoints(image, points, request->scale, request->projection,
                                   command.sampling.zoom);
    }
    if (!image.save(QString::fromLocal8Bit(command.output), "PNG")) {
        return failure("cannot write '" + command.output + "'");
    }
    return status;
}

}  // namespace

int main(int argc, char* argv[]) {
    vantu::cli::ParsedLine line;
    try {
        line = vantu::cli::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const vantu::cli::UsageError& e) {
        return usageError(e.what());
    }
    switch (line.action) {
        case vantu::cli::Action::help:
            std::fputs(vantu::cli::helpText().c_str(), stdout);
            return 0;
        case vantu::cli::Action::version:
            std::printf("vantu-render %s\n", VANTU_VERSION);
            return 0;
        case vantu::cli::Action::run:
            break;
    }
    return line.command.mode == Mode::gallery ? drawGallery(line.command)
                                              : drawAndList(line.command);
}
