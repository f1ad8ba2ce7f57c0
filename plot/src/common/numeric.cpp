#include "plot/numeric.h"

namespace plot {

namespace {
std::uint64_t sinCount = 0;
}

// Kept out of line on purpose: a busy loop of sines stays a busy loop,
// since the optimiser cannot see through the call and its count.
double Sin(double radians)
{
    ++sinCount;
    return Checked(std::sin(Checked(radians)));
}

std::uint64_t SinCount()
{
    return sinCount;
}

} // namespace plot
