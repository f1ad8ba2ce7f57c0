#include "raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace plot::detail {

void Raster::resize(int width, int height, Colour colour)
{
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(std::size_t(width_) * height_, pixelOf(colour));
    mapping_ = PixelMapping({}, width_, height_);
    markDirty(0, 0, width_ - 1, height_ - 1);
}

void Raster::fill(Colour colour)
{
    std::fill(pixels_.begin(), pixels_.end(), pixelOf(colour));
    markDirty(0, 0, width_ - 1, height_ - 1);
}

void Raster::setScale(const UserScale& scale)
{
    mapping_ = PixelMapping(scale, width_, height_);
}

void Raster::markDirty(int x1, int y1, int x2, int y2)
{
    if (x2 < x1 || y2 < y1)
        return;
    if (dirty_.x2 < dirty_.x1) {
        dirty_ = { x1, y1, x2, y2 };
        return;
    }
    dirty_.x1 = std::min(dirty_.x1, x1);
    dirty_.y1 = std::min(dirty_.y1, y1);
    dirty_.x2 = std::max(dirty_.x2, x2);
    dirty_.y2 = std::max(dirty_.y2, y2);
}

std::optional<PixelRect> Raster::takeDirty()
{
    if (dirty_.x2 < dirty_.x1)
        return std::nullopt;
    const PixelRect r = dirty_;
    dirty_ = { 0, 0, -1, -1 };
    return r;
}

void Raster::line(double x1, double y1, double x2, double y2, Colour colour)
{
    const auto seg = mapping_.segment(x1, y1, x2, y2);
    if (!seg)
        return;
    const std::uint32_t px = pixelOf(colour);
    std::uint32_t* bits = pixels_.data();
    const std::size_t stride = std::size_t(width_);
    if (seg->x1 == seg->x2) {
        const int top = std::min(seg->y1, seg->y2), bottom = std::max(seg->y1, seg->y2);
        std::uint32_t* p = bits + top * stride + seg->x1;
        for (int r = top; r <= bottom; ++r, p += stride)
            *p = px;
        markDirty(seg->x1, top, seg->x1, bottom);
        return;
    }
    // Any other slope: step along the longer axis.
    const int dx = seg->x2 - seg->x1, dy = seg->y2 - seg->y1;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    for (int i = 0; i <= steps; ++i) {
        const int c = seg->x1 + static_cast<int>(std::lround(double(dx) * i / steps));
        const int r = seg->y1 + static_cast<int>(std::lround(double(dy) * i / steps));
        bits[r * stride + c] = px;
    }
    markDirty(std::min(seg->x1, seg->x2), std::min(seg->y1, seg->y2), std::max(seg->x1, seg->x2),
        std::max(seg->y1, seg->y2));
}

} // namespace plot::detail
