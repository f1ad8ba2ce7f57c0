#include "line_log.h"

namespace plot::detail {

void LineLog::clear(const UserScale& s)
{
    count_ = 0;
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

} // namespace plot::detail
