#pragma once
// A picture's pixels: a 32-bit buffer at device resolution, drawn on with
// one-pixel lines through the picture's user scale, and the rectangle that
// changed since it was last shown. Every backend shows these same pixels.
#include <bit>
#include <cstdint>
#include <optional>
#include <vector>

#include "plot/pixel_mapping.h"
#include "plot/types.h"

namespace plot::detail {

struct PixelRect {
    int x1, y1, x2, y2; // inclusive
};

// The pixel layout below is RGBA in memory only on a little-endian machine,
// as every platform this runs on is.
static_assert(std::endian::native == std::endian::little);

class Raster {
public:
    // Red, green, blue and an opaque alpha byte, in that order in memory
    // (the byte order of a browser's image data and of Qt's RGBX8888).
    static std::uint32_t pixelOf(Colour c) { return 0xff000000u | static_cast<std::uint32_t>(c & 0xffffff); }
    static Colour colourOf(std::uint32_t pixel) { return static_cast<Colour>(pixel & 0xffffff); }

    // A new buffer of width x height pixels, all in the given colour.
    void resize(int width, int height, Colour colour);
    void fill(Colour colour);
    void setScale(const UserScale& scale);
    // A line from (x1, y1) to (x2, y2) in user units, end points included,
    // clipped to the buffer.
    void line(double x1, double y1, double x2, double y2, Colour colour);

    int width() const { return width_; }
    int height() const { return height_; }
    std::uint32_t* pixels() { return pixels_.data(); }
    const std::uint32_t* pixels() const { return pixels_.data(); }
    std::uint32_t pixel(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }

    // What changed since the last call; then nothing has.
    std::optional<PixelRect> takeDirty();

private:
    void markDirty(int x1, int y1, int x2, int y2);

    std::vector<std::uint32_t> pixels_;
    int width_ = 0, height_ = 0;
    PixelMapping mapping_ { {}, 0, 0 };
    PixelRect dirty_ { 0, 0, -1, -1 };
};

} // namespace plot::detail
