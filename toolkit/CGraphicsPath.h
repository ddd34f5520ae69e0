// Backend-independent path and gradient descriptions. A drawing context
// turns them into the platform's own drawing calls.
#pragma once

#include "toolkit/CBaseObject.h"
#include "toolkit/CGraphics.h"

#include <vector>

namespace VSTGUI {

class CGradient : public CBaseObject
{
public:
    struct ColorStop
    {
        double start;
        CColor color;
    };

    // Two-colour gradient: color1 from color1Start, color2 from color2Start
    // (both 0..1 along the gradient's axis).
    static CGradient* create(double color1Start, double color2Start, const CColor& color1,
                             const CColor& color2)
    {
        return new CGradient(color1Start, color2Start, color1, color2);
    }
    CGradient(double color1Start, double color2Start, const CColor& color1, const CColor& color2);

    void addColorStop(double start, const CColor& color);
    const std::vector<ColorStop>& getColorStops() const { return stops_; }

private:
    std::vector<ColorStop> stops_;
};

class CGraphicsPath : public CBaseObject
{
public:
    enum class ElementType
    {
        kBeginSubpath,
        kLine,
        kRect,
        kEllipse,
        kClose,
    };
    struct Element
    {
        ElementType type;
        CRect rect;   // kRect, kEllipse
        CPoint point; // kBeginSubpath, kLine
    };

    CGradient* createGradient(double color1Start, double color2Start, const CColor& color1,
                              const CColor& color2)
    {
        return CGradient::create(color1Start, color2Start, color1, color2);
    }

    void beginSubpath(const CPoint& start)
    {
        elements_.push_back({ElementType::kBeginSubpath, {}, start});
    }
    void addLine(const CPoint& to) { elements_.push_back({ElementType::kLine, {}, to}); }
    void addRect(const CRect& rect) { elements_.push_back({ElementType::kRect, rect, {}}); }
    void addEllipse(const CRect& rect) { elements_.push_back({ElementType::kEllipse, rect, {}}); }
    void closeSubpath() { elements_.push_back({ElementType::kClose, {}, {}}); }

    const std::vector<Element>& getElements() const { return elements_; }
    bool isEmpty() const { return elements_.empty(); }

private:
    std::vector<Element> elements_;
};

} // namespace VSTGUI
