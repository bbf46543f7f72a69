#include "render/render_picture.h"

#include <cmath>

#include "render/projections.h"
#include "render/scan.h"

namespace vantu {
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
