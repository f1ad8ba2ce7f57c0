#include "plot/pixel_mapping.h"

#include <algorithm>
#include <cmath>

namespace plot {

PixelMapping::PixelMapping(const UserScale& scale, int widthPx, int heightPx)
    : left_(scale.left)
    , top_(scale.top)
    , xFactor_(scale.width != 0 ? widthPx / scale.width : 0)
    , yFactor_(scale.height != 0 ? heightPx / scale.height : 0)
    , widthPx_(widthPx)
    , heightPx_(heightPx)
{
}

int PixelMapping::pixelOf(double mapped)
{
    constexpr double limit = 1 << 30;
    if (!(mapped > -limit)) // also catches NaN
        return -(1 << 30);
    if (mapped > limit)
        return 1 << 30;
    const int i = static_cast<int>(mapped); // truncates toward zero
    return mapped < i ? i - 1 : i;
}

std::optional<PixelSegment> PixelMapping::segment(double x1, double y1, double x2, double y2) const
{
    if (widthPx_ <= 0 || heightPx_ <= 0)
        return std::nullopt;
    int c1 = pixelOf(column(x1)), r1 = pixelOf(row(y1));
    int c2 = pixelOf(column(x2)), r2 = pixelOf(row(y2));
    const int maxC = widthPx_ - 1, maxR = heightPx_ - 1;

    if (c1 == c2 || r1 == r2) {
        // Vertical or horizontal: clip the pixel range directly.
        if (c1 == c2 && (c1 < 0 || c1 > maxC))
            return std::nullopt;
        if (r1 == r2 && (r1 < 0 || r1 > maxR))
            return std::nullopt;
        if (std::max(c1, c2) < 0 || std::min(c1, c2) > maxC || std::max(r1, r2) < 0 || std::min(r1, r2) > maxR)
            return std::nullopt;
        auto clampC = [&](int c) { return std::clamp(c, 0, maxC); };
        auto clampR = [&](int r) { return std::clamp(r, 0, maxR); };
        return PixelSegment { clampC(c1), clampR(r1), clampC(c2), clampR(r2) };
    }

    // General slope: Liang-Barsky on the pixel centres' grid.
    double px1 = c1 + 0.5, py1 = r1 + 0.5, px2 = c2 + 0.5, py2 = r2 + 0.5;
    const double dx = px2 - px1, dy = py2 - py1;
    double t0 = 0, t1 = 1;
    auto clip = [&](double p, double q) {
        if (p == 0)
            return q >= 0;
        const double t = q / p;
        if (p < 0) {
            if (t > t1)
                return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0)
                return false;
            t1 = std::min(t1, t);
        }
        return true;
    };
    if (!clip(-dx, px1 - 0.0) || !clip(dx, widthPx_ - px1) || !clip(-dy, py1 - 0.0) || !clip(dy, heightPx_ - py1))
        return std::nullopt;
    auto toPixel = [](double v, int maxV) { return std::clamp(static_cast<int>(std::floor(v)), 0, maxV); };
    return PixelSegment { toPixel(px1 + t0 * dx, maxC), toPixel(py1 + t0 * dy, maxR), toPixel(px1 + t1 * dx, maxC),
        toPixel(py1 + t1 * dy, maxR) };
}

} // namespace plot
