#include "line_log.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace plot::detail {

void LineLog::clear(const UserScale& s)
{
    count_ = 0;
    compacted_ = 0;
    compactAt_ = compactAlways;
    allVertical_ = true;
    scales_.clear();
    scale(s);
}

void LineLog::scale(const UserScale& s)
{
    // A scale that no line was drawn in needs no keeping.
    if (!scales_.empty() && scales_.back().first == count_)
        scales_.back().second = s;
    else
        scales_.emplace_back(count_, s);
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

void LineLog::compact()
{
    // Backwards, marking what later lines cover; coverage holds only within
    // one scale.
    std::vector<bool> keep(count_, true);
    std::unordered_map<std::uint32_t, std::vector<Span>> covered;
    std::size_t end = count_;
    for (auto s = scales_.rbegin(); s != scales_.rend(); ++s) {
        covered.clear();
        for (std::size_t i = end; i-- > s->first;) {
            const Line& l = at(i);
            const Single low = std::min(l.y1, l.y2), high = std::max(l.y1, l.y2);
            if (l.x1 != l.x2 || !(low <= high))
                continue;
            std::uint32_t x;
            std::memcpy(&x, &l.x1, sizeof x);
            keep[i] = !coveredElseCover(covered[x], low, high);
        }
        end = s->first;
    }
    // Then the lines kept close up, in their order, and each scale comes
    // before the same lines as before.
    std::size_t kept = 0, scale = 0;
    for (std::size_t i = 0; i < count_; ++i) {
        while (scale < scales_.size() && scales_[scale].first == i)
            scales_[scale++].first = kept;
        if (keep[i])
            at(kept++) = at(i);
    }
    for (; scale < scales_.size(); ++scale)
        scales_[scale].first = kept;
    count_ = kept;
    compacted_ = kept;
    compactAt_ = std::max(compactAlways, 2 * kept);
}

} // namespace plot::detail
