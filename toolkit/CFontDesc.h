// Font description: family name, size in pixels and face style. Fonts are
// resolved by the drawing backend at draw time ("Arial" maps to a metric-
// compatible face through fontconfig on Linux).
#pragma once

#include "toolkit/CBaseObject.h"
#include "toolkit/CGraphics.h"

#include <string>

namespace VSTGUI {

class CFontDesc : public CBaseObject
{
public:
    explicit CFontDesc(const char* name = "Arial", CCoord size = 12, int32_t style = kNormalFace)
        : name_(name ? name : ""), size_(size), style_(style)
    {}

    const char* getName() const { return name_.c_str(); }
    CCoord getSize() const { return size_; }
    int32_t getStyle() const { return style_; }
    void setName(const char* name) { name_ = name ? name : ""; }
    void setSize(CCoord size) { size_ = size; }
    void setStyle(int32_t style) { style_ = style; }

private:
    std::string name_;
    CCoord size_;
    int32_t style_;
};

using CFontRef = CFontDesc*;

// Shared descriptions of the usual sizes, alive for the whole process.
extern const CFontRef kSystemFont;          // Arial 12
extern const CFontRef kNormalFontVeryBig;   // Arial 18
extern const CFontRef kNormalFontBig;       // Arial 14
extern const CFontRef kNormalFont;          // Arial 12
extern const CFontRef kNormalFontSmall;     // Arial 11
extern const CFontRef kNormalFontSmaller;   // Arial 10
extern const CFontRef kNormalFontVerySmall; // Arial 9

} // namespace VSTGUI
