// Basic value types of the GUI toolkit: coordinates, points, rectangles,
// colours, mouse button state and the enumerations the drawing calls take.
#pragma once

#include <algorithm>
#include <cstdint>

namespace VSTGUI {

using CCoord = double;

struct CPoint
{
    CCoord x = 0;
    CCoord y = 0;

    constexpr CPoint() = default;
    constexpr CPoint(CCoord px, CCoord py) : x(px), y(py) {}

    constexpr CPoint& offset(CCoord dx, CCoord dy)
    {
        x += dx;
        y += dy;
        return *this;
    }
    constexpr CPoint operator+(const CPoint& p) const { return {x + p.x, y + p.y}; }
    constexpr CPoint operator-(const CPoint& p) const { return {x - p.x, y - p.y}; }
    constexpr bool operator==(const CPoint&) const = default;
};

// Rectangle in window coordinates; right and bottom are exclusive.
struct CRect
{
    CCoord left = 0;
    CCoord top = 0;
    CCoord right = 0;
    CCoord bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(CCoord l, CCoord t, CCoord r, CCoord b) : left(l), top(t), right(r), bottom(b)
    {}
    constexpr CRect(const CPoint& origin, const CPoint& size)
        : left(origin.x), top(origin.y), right(origin.x + size.x), bottom(origin.y + size.y)
    {}

    constexpr CCoord getWidth() const { return right - left; }
    constexpr CCoord getHeight() const { return bottom - top; }
    constexpr CPoint getTopLeft() const { return {left, top}; }
    constexpr CPoint getCenter() const { return {(left + right) / 2, (top + bottom) / 2}; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }

    constexpr CRect& offset(CCoord dx, CCoord dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
        return *this;
    }
    constexpr CRect& inset(CCoord dx, CCoord dy) { return extend(-dx, -dy); }
    constexpr CRect& moveTo(CCoord x, CCoord y) { return offset(x - left, y - top); }
    constexpr CRect& setWidth(CCoord width)
    {
        right = left + width;
        return *this;
    }
    constexpr CRect& setHeight(CCoord height)
    {
        bottom = top + height;
        return *this;
    }
    constexpr CRect& extend(CCoord dx, CCoord dy)
    {
        left -= dx;
        right += dx;
        top -= dy;
        bottom += dy;
        return *this;
    }
    constexpr bool pointInside(const CPoint& p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    constexpr bool rectOverlap(const CRect& r) const
    {
        return r.left < right && r.right > left && r.top < bottom && r.bottom > top;
    }
    constexpr CRect& bound(const CRect& r)
    {
        left = std::clamp(left, r.left, r.right);
        right = std::clamp(right, r.left, r.right);
        top = std::clamp(top, r.top, r.bottom);
        bottom = std::clamp(bottom, r.top, r.bottom);
        return *this;
    }
    constexpr CRect& unite(const CRect& r)
    {
        if (isEmpty())
            return *this = r;
        if (!r.isEmpty()) {
            left = std::min(left, r.left);
            top = std::min(top, r.top);
            right = std::max(right, r.right);
            bottom = std::max(bottom, r.bottom);
        }
        return *this;
    }
    constexpr bool operator==(const CRect&) const = default;
};

struct CColor
{
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 255;

    constexpr bool operator==(const CColor&) const = default;
};

constexpr CColor MakeCColor(uint8_t r = 0, uint8_t g = 0, uint8_t b = 0, uint8_t a = 255)
{
    return CColor{r, g, b, a};
}

inline constexpr CColor kTransparentCColor{255, 255, 255, 0};
inline constexpr CColor kBlackCColor{0, 0, 0, 255};
inline constexpr CColor kWhiteCColor{255, 255, 255, 255};
inline constexpr CColor kGreyCColor{127, 127, 127, 255};
inline constexpr CColor kRedCColor{255, 0, 0, 255};

enum CButton : int32_t
{
    kLButton = 1 << 1,
    kMButton = 1 << 2,
    kRButton = 1 << 3,
    kShift = 1 << 4,
    kControl = 1 << 5,
    kAlt = 1 << 6,
    kApple = 1 << 7,
    kButton4 = 1 << 8,
    kButton5 = 1 << 9,
    kDoubleClick = 1 << 10,
};

// Mouse buttons and keyboard modifiers of one mouse event.
class CButtonState
{
public:
    constexpr CButtonState(int32_t state = 0) : state_(state) {}
    constexpr int32_t getButtonState() const
    {
        return state_ & (kLButton | kMButton | kRButton | kButton4 | kButton5);
    }
    constexpr int32_t getModifierState() const
    {
        return state_ & (kShift | kControl | kAlt | kApple);
    }
    constexpr bool isLeftButton() const { return (state_ & kLButton) != 0; }
    constexpr bool isRightButton() const { return (state_ & kRButton) != 0; }
    constexpr bool isDoubleClick() const { return (state_ & kDoubleClick) != 0; }
    constexpr operator int32_t() const { return state_; }
    constexpr int32_t operator&(int32_t mask) const { return state_ & mask; }
    constexpr CButtonState& operator|=(int32_t mask)
    {
        state_ |= mask;
        return *this;
    }
    constexpr bool operator==(const CButtonState&) const = default;

private:
    int32_t state_;
};

enum CMouseEventResult
{
    kMouseEventNotImplemented = 0,
    kMouseEventHandled,
    kMouseEventNotHandled,
    kMouseDownEventHandledButDontNeedMovedOrUpEvents,
};

enum CMouseWheelAxis
{
    kMouseWheelAxisX = 0,
    kMouseWheelAxisY,
};

enum CHoriTxtAlign
{
    kLeftText = 0,
    kCenterText,
    kRightText,
};

enum CLineStyle
{
    kLineSolid = 0,
    kLineOnOffDash,
};

enum CDrawMode
{
    kAliasing = 0,
    kAntiAliasing = 2,
};

enum CDrawStyle
{
    kDrawStroked = 0,
    kDrawFilled,
    kDrawFilledAndStroked,
};

enum CTxtFace
{
    kNormalFace = 0,
    kBoldFace = 1 << 1,
    kItalicFace = 1 << 2,
    kUnderlineFace = 1 << 3,
};

enum CKnobMode
{
    kCircularMode = 0,
    kRelativCircularMode,
    kLinearMode,
};

} // namespace VSTGUI
