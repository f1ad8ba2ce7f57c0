#pragma once
// A picture drawn again from its lines at another pixel size.
#include "line_log.h"
#include "raster.h"

namespace plot::detail {

// Draws the logged lines onto the raster, which must be all paper, and
// leaves its scale at the last one logged. The programs' pictures are
// made of vertical lines drawn over each other a hundred times (each
// order's sum curve over the last one's): those are drawn from the last
// to the first, each only where no later line lies, so that every pixel
// is written once.
void Redraw(Raster& raster, const LineLog& log);

} // namespace plot::detail
