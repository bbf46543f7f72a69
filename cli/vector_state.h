#pragma once

namespace vantu::cli {

// Qt's image code (QImage::fill, for one) can leave the upper halves of the AVX registers in
// use. Until they are cleared, every SSE instruction of the drawing core pays for a state
// transition, which makes the drawing several times slower on some Intel processors. Clears
// them before drawing; does nothing on processors without AVX.
void clearUpperVectorState() noexcept;

}  // namespace vantu::cli
