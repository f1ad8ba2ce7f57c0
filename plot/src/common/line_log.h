#pragma once
// The lines a picture was drawn with since it was last cleared, in the
// program's own user units and with the scales they were drawn in, so that
// the picture can be drawn again, line for line, at another pixel size.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "plot/pixel_mapping.h"
#include "plot/types.h"

namespace plot::detail {

class LineLog {
public:
    struct Line {
        Single x1, y1, x2, y2;
        Colour colour;
    };

    // Forgets every line; what follows is drawn in this scale.
    void clear(const UserScale& scale);
    void scale(const UserScale& scale);
    void line(Single x1, Single y1, Single x2, Single y2, Colour colour)
    {
        allVertical_ = allVertical_ && x1 == x2;
        if (count_ >= compactAt_) [[unlikely]]
            compact();
        if (count_ == chunks_.size() * chunkSize) [[unlikely]]
            chunks_.push_back(std::make_unique<Line[]>(chunkSize));
        chunks_[count_ / chunkSize][count_ % chunkSize] = { x1, y1, x2, y2, colour };
        ++count_;
    }

    std::size_t size() const { return count_; }

    // Drops every vertical line that later vertical lines at the same x,
    // in the same scale, cover in user units: at any pixel size they cover
    // its pixels too, so the picture drawn again stays the same. Each of
    // the programs' orders draws its sum curve over the last one's, so
    // most lines of a run go. It takes some 40 ms for half a million lines,
    // too long for a frame: the backend does it while the program waits,
    // once the log has doubled since the last time (grown()). The log
    // compacts itself only beyond what a whole sawtooth run draws, which
    // runs nested in each other's event pumps may exceed.
    void compact();
    bool grown() const { return count_ >= std::max(compactWhenIdle, 2 * compacted_); }
    // Whether every line goes straight up or down (as in every strip and
    // sum curve the programs draw).
    bool allVertical() const { return allVertical_; }

    // Calls setScale(scale) and draw(line) in the order they were logged.
    template <class SetScale, class Draw>
    void replay(SetScale&& setScale, Draw&& draw) const
    {
        std::size_t next = 0;
        for (const auto& [from, s] : scales_) {
            replayLines(next, from, draw);
            next = from;
            setScale(s);
        }
        replayLines(next, count_, draw);
    }

    // The same, from the last line to the first: setScale(scale) comes
    // before the lines drawn in that scale.
    template <class SetScale, class Draw>
    void replayBackwards(SetScale&& setScale, Draw&& draw) const
    {
        std::size_t end = count_;
        for (auto s = scales_.rbegin(); s != scales_.rend(); ++s) {
            setScale(s->second);
            for (std::size_t i = end; i-- > s->first;)
                draw(chunks_[i / chunkSize][i % chunkSize]);
            end = s->first;
        }
    }

private:
    // Lines are kept in blocks of this many, kept for reuse after a
    // clear: a run of a million lines neither copies them as it grows nor
    // leaves the memory more fragmented at each run.
    static constexpr std::size_t chunkSize = 1 << 16;

    Line& at(std::size_t i) { return chunks_[i / chunkSize][i % chunkSize]; }

    template <class Draw>
    void replayLines(std::size_t from, std::size_t to, Draw& draw) const
    {
        for (std::size_t i = from; i < to; ++i)
            draw(chunks_[i / chunkSize][i % chunkSize]);
    }

    std::vector<std::unique_ptr<Line[]>> chunks_;
    std::size_t count_ = 0;
    static constexpr std::size_t compactWhenIdle = 1 << 16;
    static constexpr std::size_t compactAlways = 24 * chunkSize;
    std::size_t compacted_ = 0; // lines left by the last compaction
    std::size_t compactAt_ = compactAlways;
    bool allVertical_ = true;
    // Each scale with the number of lines logged before it came.
    std::vector<std::pair<std::size_t, UserScale>> scales_;
};

} // namespace plot::detail
