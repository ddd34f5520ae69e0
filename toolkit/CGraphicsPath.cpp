#include "toolkit/CGraphicsPath.h"

#include <algorithm>

namespace VSTGUI {

CGradient::CGradient(double color1Start, double color2Start, const CColor& color1,
                     const CColor& color2)
{
    addColorStop(color1Start, color1);
    addColorStop(color2Start, color2);
}

void CGradient::addColorStop(double start, const CColor& color)
{
    start = std::clamp(start, 0.0, 1.0);
    auto at = std::upper_bound(stops_.begin(), stops_.end(), start,
                               [](double s, const ColorStop& stop) { return s < stop.start; });
    stops_.insert(at, ColorStop{start, color});
}

} // namespace VSTGUI
