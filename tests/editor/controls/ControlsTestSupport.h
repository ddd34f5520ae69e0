// A listener that records what controls send, colour comparison for pixel
// probes, and a strip picture drawn in memory for the animated knob.
#pragma once

#include "../../toolkit/ToolkitTestSupport.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CControl.h"
#include "toolkit/CResources.h"

#include <cairo.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

namespace vantelor_test {

struct Edit
{
    char kind; // 'b' beginEdit, 'v' valueChanged, 'e' endEdit
    int32_t tag;
    float value; // the control's getValue at the time
    bool operator==(const Edit&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Edit& e)
{
    return os << e.kind << e.tag << "=" << e.value;
}

class RecordingListener : public VSTGUI::CControlListener
{
public:
    void valueChanged(VSTGUI::CControl* c) override
    {
        edits.push_back({'v', c->getTag(), c->getValue()});
    }
    void controlBeginEdit(VSTGUI::CControl* c) override
    {
        edits.push_back({'b', c->getTag(), c->getValue()});
    }
    void controlEndEdit(VSTGUI::CControl* c) override
    {
        edits.push_back({'e', c->getTag(), c->getValue()});
    }

    // The values sent, in order.
    std::vector<float> values() const
    {
        std::vector<float> out;
        for (const Edit& e : edits)
            if (e.kind == 'v')
                out.push_back(e.value);
        return out;
    }

    std::vector<Edit> edits;
};

inline bool near(VSTGUI::CColor a, VSTGUI::CColor b, int tolerance = 2)
{
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
           std::abs(a.blue - b.blue) <= tolerance;
}

inline std::string str(VSTGUI::CColor c)
{
    return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
}

// c drawn over black.
inline VSTGUI::CColor overBlack(VSTGUI::CColor c)
{
    auto scale = [&](int v) { return static_cast<uint8_t>((v * c.alpha + 127) / 255); };
    return VSTGUI::CColor{scale(c.red), scale(c.green), scale(c.blue), 255};
}

// A knob strip of square frames of side `side`, frame i filled with
// colors[i], served by name to the toolkit's bitmaps while alive.
class StripPicture
{
public:
    StripPicture(int side, const std::vector<VSTGUI::CColor>& colors)
    {
        cairo_surface_t* surface = cairo_image_surface_create(
            CAIRO_FORMAT_ARGB32, side, side * static_cast<int>(colors.size()));
        cairo_t* cr = cairo_create(surface);
        for (size_t i = 0; i < colors.size(); ++i) {
            cairo_set_source_rgb(cr, colors[i].red / 255.0, colors[i].green / 255.0,
                                 colors[i].blue / 255.0);
            cairo_rectangle(cr, 0, static_cast<double>(side * static_cast<int>(i)), side, side);
            cairo_fill(cr);
        }
        cairo_destroy(cr);
        png_() = pngBytes(surface);
        cairo_surface_destroy(surface);
        VSTGUI::setResourceLookup([](const char* name, VSTGUI::CResourceData& out) {
            if (std::string(name) != "strip.png")
                return false;
            out.data = png_().data();
            out.size = png_().size();
            return true;
        });
    }
    ~StripPicture()
    {
        VSTGUI::setResourceLookup(nullptr);
        png_().clear();
    }
    StripPicture(const StripPicture&) = delete;
    StripPicture& operator=(const StripPicture&) = delete;

private:
    static std::vector<uint8_t>& png_()
    {
        static std::vector<uint8_t> png;
        return png;
    }
};

} // namespace vantelor_test
