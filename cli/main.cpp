// vantu-render: the Vantu picture from the command line, as a PNG or as the list of runs; at
// print quality; the whole catalogue at once; the points where the six hues meet.

#include <QImage>
#include <QString>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/export.h"
#include "cli/gallery.h"
#include "cli/options.h"
#include "cli/progress.h"
#include "cli/snub_report.h"
#include "drawing/draw_procedure.h"
#include "geometry/draw_error.h"
#include "render/fine_picture.h"
#include "render/run_sink.h"
#include "render/snub_points.h"
#include "render/vector_state.h"
#include "setup/draw_request.h"

namespace {

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

int jobsOf(const vantu::cli::CommandLine& line) {
    return line.jobs;
}

vantu::DrawRequest requestOf(const vantu::cli::CommandLine& line) {
    vantu::DrawRequest request;
    request.triangleCode = line.code;
    request.rotation = line.rotation;
    request.reverse = line.reverse;
    request.projection = line.projection;
    return request;
}

int runGallery(const vantu::cli::CommandLine& line) {
    vantu::cli::GallerySettings settings;
    settings.scaleText = line.scaleText;
    settings.sampling = {line.zoom, line.antialias};
    try {
        settings.scale = vantu::readScale(line.scaleText);
        const std::vector<vantu::cli::GalleryPicture> pictures =
            vantu::cli::galleryPictures(line.permutations);
        vantu::cli::ProgressBar progress(vantu::cli::progressStream(), "gallery",
                                         static_cast<long>(pictures.size()));
        vantu::cli::writeGallery(line.gallery, pictures, settings, jobsOf(line), &progress);
    } catch (const vantu::DrawError& e) {
        return failure(e.what());
    } catch (const vantu::cli::GalleryError& e) {
        return failure(e.what());
    }
    return 0;
}

// The window's own drawing, for --runs (and -o beside it).
int runWindowDrawing(const vantu::cli::CommandLine& line, QImage* image) {
    OutputSink sink(image, line.printRuns);
    int status = 0;
    try {
        vantu::DrawRequest request = requestOf(line);
        request.scale = vantu::readScale(line.scaleText);
        vantu::clearUpperVectorState();
        vantu::runDrawing(request, sink);
    } catch (const vantu::DrawError& e) {
        status = failure(e.what());
    }
    if (std::fflush(stdout) != 0) {
        return failure("cannot write the runs");
    }
    return status;
}

// The picture at any sampling, rows shared among threads, for -o.
int runExport(const vantu::cli::CommandLine& line, QImage& image) {
    const vantu::Sampling sampling{line.zoom, line.antialias};
    image = QImage(vantu::pictureWidth * sampling.zoom, vantu::pictureHeight * sampling.zoom,
                   QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    try {
        vantu::DrawRequest request = requestOf(line);
        request.scale = vantu::readScale(line.scaleText);
        const vantu::DrawSetup setup = vantu::prepareDrawing(request);
        const vantu::FinePicture picture(request.scale, setup.pi, request.projection, setup.normals,
                                         sampling);
        vantu::cli::ProgressBar progress(vantu::cli::progressStream(), "rendering",
                                         picture.height());
        vantu::cli::RenderedImage rendered =
            vantu::cli::renderImage(picture, jobsOf(line), &progress);
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

}  // namespace

int main(int argc, char* argv[]) {
    vantu::cli::CommandLine line;
    try {
        line = vantu::cli::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const vantu::cli::UsageError& e) {
        return usageError(e.what());
    }
    if (line.help) {
        std::fputs(vantu::cli::usageText().c_str(), stdout);
        return 0;
    }
    if (line.version) {
        std::printf("vantu-render %s\n", VANTU_VERSION);
        return 0;
    }
    if (!line.gallery.empty()) {
        return runGallery(line);
    }
    if (line.output.empty() && !line.printRuns && !line.snub) {
        return usageError("nothing to do: give -o FILE.png, --runs, --snub or --gallery DIR");
    }

    // The meeting points, for --snub and --mark-snub.
    std::vector<vantu::SnubPoint> snubPoints;
    if (line.snub || line.markSnub) {
        try {
            vantu::DrawRequest request = requestOf(line);
            request.scale = vantu::readScale(line.scaleText);
            snubPoints = vantu::findSnubPoints(vantu::prepareDrawing(request).normals);
            if (line.snub) {
                std::fputs(vantu::cli::snubReport(request, snubPoints).c_str(), stdout);
            }
        } catch (const vantu::DrawError& e) {
            return failure(e.what());
        }
    }

    QImage image;
    int status = 0;
    if (line.printRuns) {
        if (!line.output.empty()) {
            image = QImage(vantu::pictureWidth, vantu::pictureHeight, QImage::Format_ARGB32);
            image.fill(Qt::transparent);
        }
        status = runWindowDrawing(line, line.output.empty() ? nullptr : &image);
    } else if (!line.output.empty()) {
        status = runExport(line, image);
    }
    if (std::fflush(stdout) != 0) {
        return failure("cannot write to the standard output");
    }
    if (line.output.empty()) {
        return status;
    }
    if (line.markSnub) {
        vantu::cli::markSnubPoints(image, snubPoints, vantu::readScale(line.scaleText),
                                   line.projection, line.zoom);
    }
    if (!image.save(QString::fromLocal8Bit(line.output), "PNG")) {
        return failure("cannot write '" + line.output + "'");
    }
    return status;
}
