#include "line_log.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <unordered_map>

namespace plot::detail {

void LineLog::clear(const UserScale& s)
{
    base_ = 0;
    next_ = end_ = nullptr;
    compacted_ = 0;
    compactAt_ = compactAlways;
    verticalUpTo_ = 0;
    allVertical_ = true;
    scales_.clear();
    marking_.reset();
    scale(s);
}

void LineLog::scale(const UserScale& s)
{
    // A scale that no line was drawn in needs no keeping.
    const std::size_t count = size();
    if (!scales_.empty() && scales_.back().first == count)
        scales_.back().second = s;
    else
        scales_.emplace_back(count, s);
}

void LineLog::seek(std::size_t count)
{
    const std::size_t block = count / chunkSize;
    if (block == chunks_.size())
        chunks_.push_back(std::make_unique<Line[]>(chunkSize));
    base_ = block * chunkSize;
    next_ = chunks_[block].get() + count % chunkSize;
    end_ = chunks_[block].get() + chunkSize;
}

void LineLog::nextBlock()
{
    const std::size_t count = size();
    if (count >= compactAt_)
        compact();
    else
        seek(count);
}

bool LineLog::allVertical() const
{
    const std::size_t count = size();
    for (; allVertical_ && verticalUpTo_ < count; ++verticalUpTo_)
        allVertical_ = at(verticalUpTo_).x1 == at(verticalUpTo_).x2;
    return allVertical_;
}

namespace {

// The y ranges at one x that later lines cover: sorted, disjoint spans,
// merged where they overlap or meet.
struct Span {
    Single low, high;
};

// Whether [low, high] lies within one span; if not, it is added.
bool coveredElseCover(std::vector<Span>& spans, Single low, Single high)
{
    auto first = std::lower_bound(spans.begin(), spans.end(), low, [](const Span& s, Single y) { return s.high < y; });
    if (first != spans.end() && first->low <= low && high <= first->high)
        return true;
    Span merged { low, high };
    auto last = first;
    for (; last != spans.end() && last->low <= high; ++last) {
        merged.low = std::min(merged.low, last->low);
        merged.high = std::max(merged.high, last->high);
    }
    if (first == last) {
        spans.insert(first, merged);
    } else {
        *first = merged;
        spans.erase(first + 1, last);
    }
    return false;
}

} // namespace

struct LineLog::Marking {
    // Whether each line before the compaction began is kept.
    std::vector<bool> keep;
    // The spans that later lines of the scale at hand cover, by x.
    std::unordered_map<std::uint32_t, std::vector<Span>> covered;
    // The scale whose lines are being looked at, and the lines below this
    // one that are still to be.
    std::size_t scale = 0;
    std::size_t next = 0;
};

LineLog::LineLog() = default;
LineLog::~LineLog() = default;

void LineLog::compact()
{
    compactStep(std::numeric_limits<std::size_t>::max());
}

bool LineLog::compactStep(std::size_t lines)
{
    if (scales_.empty())
        return false;
    // Backwards, marking what later lines cover; coverage holds only within
    // one scale.
    if (!marking_) {
        marking_ = std::make_unique<Marking>();
        marking_->next = size();
        marking_->keep.assign(marking_->next, true);
        marking_->scale = scales_.size() - 1;
    }
    Marking& m = *marking_;
    for (; lines > 0; --lines) {
        while (m.next == scales_[m.scale].first) {
            if (m.scale == 0) {
                closeUp();
                return false;
            }
            --m.scale;
            m.covered.clear();
        }
        const std::size_t i = --m.next;
        const Line& l = at(i);
        const Single low = std::min(l.y1, l.y2), high = std::max(l.y1, l.y2);
        if (l.x1 != l.x2 || !(low <= high))
            continue;
        std::uint32_t x;
        std::memcpy(&x, &l.x1, sizeof x);
        m.keep[i] = !coveredElseCover(m.covered[x], low, high);
    }
    return true;
}

void LineLog::closeUp()
{
    // The lines kept close up, in their order, with the lines logged since
    // the compaction began, and each scale comes before the same lines as
    // before.
    const std::vector<bool>& keep = marking_->keep;
    const std::size_t count = size(), marked = keep.size();
    std::size_t kept = 0, scale = 0;
    for (std::size_t i = 0; i < count; ++i) {
        while (scale < scales_.size() && scales_[scale].first == i)
            scales_[scale++].first = kept;
        if (i >= marked || keep[i])
            at(kept++) = at(i);
    }
    for (; scale < scales_.size(); ++scale)
        scales_[scale].first = kept;
    marking_.reset();
    seek(kept);
    compacted_ = kept;
    compactAt_ = std::max(compactAlways, 2 * kept);
    // Lines have moved; the ones kept are checked again (a line that is
    // not vertical is always kept, so "not all" stays true).
    verticalUpTo_ = 0;
}

} // namespace plot::detail
