#include "render/render_picture.h"

#include "render/projections.h"
#include "render/scan.h"

namespace vantu {
namespace detail {

void emitRuns(int row, const PackedColour* colours, int count, bool rowComplete, RunSink& sink) {
    PackedColour current = grey;
    int runStart = 0;
    for (int col = 0; col < count; ++col) {
        if (colours[col] != current) {
            sink.drawRun(row, runStart, col, current);
            current = colours[col];
            runStart = col;
        }
    }
    if (rowComplete) {
        sink.drawRun(row, runStart, count, current);
    }
}

}  // namespace detail

void renderPicture(double R, double pi, Projection projection, const Mirrors& normals,
                   RunSink& sink) {
    const detail::ScanInput input{R, pi, normals};
    switch (projection) {
        case Projection::gnomonic:
            detail::scanPicture<detail::Gnomonic>(input, sink);
            return;
        case Projection::stereographic:
            detail::scanPicture<detail::Stereographic>(input, sink);
            return;
        case Projection::orthographic:
            break;
    }
    detail::scanPicture<detail::Orthographic>(input, sink);
}

}  // namespace vantu
