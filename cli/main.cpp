// vantu-render: the Vantu picture from the command line, as a PNG or as the list of runs.

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include <QImage>
#include <QString>

#include "cli/options.h"
#include "render/run_sink.h"
#include "setup/draw_error.h"
#include "setup/draw_procedure.h"

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
            const QRgb rgb =
                qRgb(vantu::redOf(colour), vantu::greenOf(colour), vantu::blueOf(colour));
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
    if (line.output.empty() && !line.printRuns) {
        return usageError("nothing to do: give -o FILE.png, --runs or both");
    }

    QImage image;
    if (!line.output.empty()) {
        image = QImage(vantu::pictureWidth, vantu::pictureHeight, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
    }
    OutputSink sink(line.output.empty() ? nullptr : &image, line.printRuns);

    int status = 0;
    try {
        vantu::DrawRequest request;
        request.triangleCode = line.code;
        request.rotation = line.rotation;
        request.reverse = line.reverse;
        request.scale = vantu::readScale(line.scaleText);
        request.projection = line.projection;
        vantu::runDrawing(request, sink);
    } catch (const vantu::DrawError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "vantu-render: %s\n", e.what());
        status = 1;
    }
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "vantu-render: cannot write the runs\n");
        return 1;
    }
    if (!line.output.empty() && !image.save(QString::fromLocal8Bit(line.output), "PNG")) {
        std::fprintf(stderr, "vantu-render: cannot write '%s'\n", line.output.c_str());
        return 1;
    }
    return status;
}
