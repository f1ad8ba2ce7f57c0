#pragma once
// From a surface's user scale to its pixels: pure arithmetic, no toolkit.
//
// The interior of a surface is widthPx by heightPx pixels. User x runs from
// left (left edge) to left + width (right edge), user y from top (top edge)
// to top + height (bottom edge); a negative height makes y grow upward.
// Pixel column c covers [c, c + 1) of the mapped coordinate, so the right
// and bottom edges themselves lie just outside the last pixel.
#include <optional>

namespace plot {

struct UserScale {
    double left = 0;
    double top = 0;
    double width = 1;
    double height = 1;
};

struct PixelSegment {
    int x1, y1, x2, y2; // both end points inside the pixel grid
};

class PixelMapping {
public:
    PixelMapping(const UserScale& scale, int widthPx, int heightPx);

    double column(double x) const { return (x - left_) * xFactor_; }
    double row(double y) const { return (y - top_) * yFactor_; }

    // The pixel that holds a mapped coordinate, saturated far outside the
    // grid so that it always fits an int.
    static int pixelOf(double mapped);

    int widthPx() const { return widthPx_; }
    int heightPx() const { return heightPx_; }

    // The pixels of the segment (x1, y1)-(x2, y2), end points included,
    // clipped to the grid; nothing when it misses the grid.
    std::optional<PixelSegment> segment(double x1, double y1, double x2, double y2) const;

private:
    double left_, top_, xFactor_, yFactor_;
    int widthPx_, heightPx_;
};

} // namespace plot
