#include "plot/numeric.h"

#include <vector>

#include "plot/testing.h"

namespace plot {

namespace {
std::uint64_t sinCount = 0;
// For tests only (testing::UseSineTable): sin(k) for k = 0 to 10000.
constexpr int tableEnd = 10000;
const double* sineTable = nullptr;
}

// Kept out of line on purpose: a busy loop of sines stays a busy loop,
// since the optimiser cannot see through the call and its count.
double Sin(double radians)
{
    ++sinCount;
    radians = Checked(radians);
    if (sineTable && radians >= 0 && radians <= tableEnd && radians == double(int(radians))) [[unlikely]]
        return sineTable[int(radians)];
    return Checked(std::sin(radians));
}

std::uint64_t SinCount()
{
    return sinCount;
}

void testing::UseSineTable(bool on)
{
    static const std::vector<double> table = [] {
        std::vector<double> t(tableEnd + 1);
        for (int k = 0; k <= tableEnd; ++k)
            t[k] = std::sin(double(k));
        return t;
    }();
    sineTable = on ? table.data() : nullptr;
}

} // namespace plot
