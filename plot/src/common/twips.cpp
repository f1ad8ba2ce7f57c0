#include "plot/twips.h"

#include <algorithm>

#include "runtime.h"

namespace plot {

double ChooseTwipsPerPixel(const ScreenFit& screen, double designWidth, double designHeight)
{
    double tpp = 1440.0 / (screen.logicalDpi > 0 ? screen.logicalDpi : 96.0);
    const int roomW = screen.availableWidth - screen.frameWidth;
    const int roomH = screen.availableHeight - screen.frameHeight;
    if (roomW > 0)
        tpp = std::max(tpp, designWidth / roomW);
    if (roomH > 0)
        tpp = std::max(tpp, designHeight / roomH);
    return tpp;
}

double TwipsPerPixel()
{
    return detail::runtime().twipsPerPixel;
}

} // namespace plot
