#include "redraw.h"

#include <algorithm>
#include <vector>

namespace plot::detail {

namespace {

// The rows of one pixel column that a later line already covers: sorted,
// disjoint spans that do not touch.
struct Span {
    int first, last;
};

class CoveredColumns {
public:
    explicit CoveredColumns(int columns)
        : spans_(std::size_t(std::max(columns, 0)))
    {
    }

    // Calls paint(first, last) for each run of rows from top to bottom in
    // column c that is not covered yet, then covers them all.
    template <class Paint>
    void cover(int c, int top, int bottom, Paint&& paint)
    {
        std::vector<Span>& spans = spans_[std::size_t(c)];
        auto first = std::lower_bound(
            spans.begin(), spans.end(), top - 1, [](const Span& s, int row) { return s.last < row; });
        auto it = first;
        Span merged { top, bottom };
        int next = top;
        for (; it != spans.end() && it->first <= bottom + 1; ++it) {
            if (it->first > next)
                paint(next, std::min(bottom, it->first - 1));
            next = std::max(next, it->last + 1);
            merged.first = std::min(merged.first, it->first);
            merged.last = std::max(merged.last, it->last);
        }
        if (next <= bottom)
            paint(next, bottom);
        if (first == it) {
            spans.insert(first, merged);
        } else {
            *first = merged;
            spans.erase(first + 1, it);
        }
    }

private:
    std::vector<std::vector<Span>> spans_;
};

} // namespace

void Redraw(Raster& raster, const LineLog& log)
{
    if (!log.allVertical()) {
        log.replay([&](const UserScale& s) { raster.setScale(s); },
            [&](const LineLog::Line& l) { raster.line(l.x1, l.y1, l.x2, l.y2, l.colour); });
        return;
    }
    const int width = raster.width(), height = raster.height();
    CoveredColumns covered(width);
    PixelMapping mapping({}, width, height);
    std::uint32_t* pixels = raster.pixels();
    log.replayBackwards([&](const UserScale& s) { mapping = PixelMapping(s, width, height); },
        [&](const LineLog::Line& l) {
            const auto seg = mapping.segment(l.x1, l.y1, l.x2, l.y2);
            if (!seg)
                return;
            const std::uint32_t px = Raster::pixelOf(l.colour);
            std::uint32_t* column = pixels + seg->x1;
            covered.cover(seg->x1, std::min(seg->y1, seg->y2), std::max(seg->y1, seg->y2), [&](int from, int to) {
                for (int r = from; r <= to; ++r)
                    column[std::size_t(r) * width] = px;
            });
        });
}

} // namespace plot::detail
