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
    LineLog();
    ~LineLog();

    struct Line {
        Single x1, y1, x2, y2;
        Colour colour;
    };

    // Forgets every line; what follows is drawn in this scale.
    void clear(const UserScale& scale);
    void scale(const UserScale& scale);
    // A line goes into the block at hand; all else (a new block, the
    // checks) waits for the block to be full, so that logging a line costs
    // no more than storing it.
    void line(Single x1, Single y1, Single x2, Single y2, Colour colour)
    {
        if (next_ == end_) [[unlikely]]
            nextBlock();
        *next_++ = { x1, y1, x2, y2, colour };
    }

    std::size_t size() const { return next_ ? base_ + std::size_t(next_ - (end_ - chunkSize)) : base_; }

    // Drops every vertical line that later vertical lines at the same x,
    // in the same scale, cover in user units: at any pixel size they cover
    // its pixels too, so the picture drawn again stays the same. Each of
    // the programs' orders draws its sum curve over the last one's, so
    // most lines of a run go. It takes some 40 ms for half a million lines,
    // too long for a frame: the backend does it in steps while the program
    // waits, once the log has doubled since the last time (grown()). The
    // log compacts itself at once only beyond what a whole sawtooth run
    // draws, which runs nested in each other's event pumps may exceed.
    void compact();
    // One step of a compaction, which it begins if none is under way: it
    // looks at up to `lines` lines, and the last step closes them up.
    // Lines logged between steps stay; a clear drops the compaction.
    // Whether the compaction goes on.
    bool compactStep(std::size_t lines);
    bool compacting() const { return marking_ != nullptr; }
    bool grown() const { return size() >= std::max(compactWhenIdle, 2 * compacted_); }
    // Whether every line goes straight up or down (as in every strip and
    // sum curve the programs draw).
    bool allVertical() const;

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
        replayLines(next, size(), draw);
    }

    // The same, from the last line to the first: setScale(scale) comes
    // before the lines drawn in that scale.
    template <class SetScale, class Draw>
    void replayBackwards(SetScale&& setScale, Draw&& draw) const
    {
        std::size_t end = size();
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
    const Line& at(std::size_t i) const { return chunks_[i / chunkSize][i % chunkSize]; }
    // The block at hand full: compacts the log if it has grown past its
    // bound, then goes on in the next block.
    void nextBlock();
    // Logs the next line as line `count`, in its block.
    void seek(std::size_t count);
    // A compaction's end: the lines it kept close up.
    void closeUp();

    template <class Draw>
    void replayLines(std::size_t from, std::size_t to, Draw& draw) const
    {
        for (std::size_t i = from; i < to; ++i)
            draw(chunks_[i / chunkSize][i % chunkSize]);
    }

    std::vector<std::unique_ptr<Line[]>> chunks_;
    // The block at hand: the number of its first line, where the next line
    // goes and its end; none before the first line.
    std::size_t base_ = 0;
    Line* next_ = nullptr;
    Line* end_ = nullptr;
    static constexpr std::size_t compactWhenIdle = 1 << 16;
    static constexpr std::size_t compactAlways = 24 * chunkSize;
    std::size_t compacted_ = 0; // lines left by the last compaction
    std::size_t compactAt_ = compactAlways;
    // The lines before this one all go straight up or down; false: not
    // all of them do.
    mutable std::size_t verticalUpTo_ = 0;
    mutable bool allVertical_ = true;
    // Each scale with the number of lines logged before it came.
    std::vector<std::pair<std::size_t, UserScale>> scales_;
    // A compaction under way: what it has found of the lines before it
    // began, from the last to the first.
    struct Marking;
    std::unique_ptr<Marking> marking_;
};

} // namespace plot::detail
