// The part of a window's back buffer that needs painting: the rectangles
// invalidated since the last paint, rounded out to whole pixels, kept inside
// the buffer and merged into one.
#pragma once

#include "toolkit/CGraphics.h"

#include <cmath>

namespace VSTGUI {

class DirtyArea
{
public:
    // Adds rect for a buffer of `size` (its origin at 0, 0).
    void add(const CRect& rect, const CRect& size)
    {
        CRect r(std::floor(rect.left), std::floor(rect.top), std::ceil(rect.right),
                std::ceil(rect.bottom));
        r.bound(CRect(0, 0, size.getWidth(), size.getHeight()));
        if (!r.isEmpty())
            area_.unite(r);
    }
    // The whole buffer, after it was made anew.
    void setAll(const CRect& size) { area_ = CRect(0, 0, size.getWidth(), size.getHeight()); }
    bool isEmpty() const { return area_.isEmpty(); }
    // Returns the area and starts a new one.
    CRect take()
    {
        const CRect area = area_;
        area_ = CRect();
        return area;
    }

private:
    CRect area_;
};

} // namespace VSTGUI
