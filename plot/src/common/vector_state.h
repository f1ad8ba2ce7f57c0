#pragma once

namespace plot::detail {

// Some of Qt's AVX code paths (image fills among them) return with the
// upper halves of the vector registers still in use. Every SSE
// instruction after that, the program's own arithmetic and libm's sine
// included, then runs many times slower. Called after such toolkit calls
// to drop that state; does nothing on processors without AVX.
void ClearUpperVectorState();

} // namespace plot::detail
