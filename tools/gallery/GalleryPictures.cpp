#include "tools/gallery/GalleryPictures.h"

#include "toolkit/CResources.h"

#include <cairo.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

namespace gallery {

namespace {

std::vector<uint8_t> gKnob;
std::vector<uint8_t> gSwitch;

cairo_status_t appendPNG(void* closure, const unsigned char* data, unsigned int length)
{
    auto* png = static_cast<std::vector<uint8_t>*>(closure);
    png->insert(png->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

void encode(cairo_surface_t* surface, std::vector<uint8_t>& out)
{
    out.clear();
    cairo_surface_write_to_png_stream(surface, appendPNG, &out);
    cairo_surface_destroy(surface);
}

// A dark knob with a lime arc of its travel and a pointer, 300 degrees of
// rotation from bottom left to bottom right.
void drawKnobStrip()
{
    const int s = kKnobSide;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, s, s * kKnobFrames);
    cairo_t* cr = cairo_create(surface);
    constexpr double kPi = std::numbers::pi;
    const double start = kPi * 0.5 + kPi / 6; // 7 o'clock
    const double sweep = kPi * 5 / 3;
    for (int f = 0; f < kKnobFrames; ++f) {
        const double cx = s / 2.0;
        const double cy = s * f + s / 2.0;
        const double travel = static_cast<double>(f) / (kKnobFrames - 1);
        const double angle = start + sweep * travel;
        cairo_set_line_width(cr, 3);
        cairo_set_source_rgba(cr, 0.27, 0.35, 0.0, 1);
        cairo_arc(cr, cx, cy, s / 2.0 - 3, start, start + sweep);
        cairo_stroke(cr);
        if (travel > 0) {
            cairo_set_source_rgba(cr, 0.76, 0.98, 0.02, 1);
            cairo_arc(cr, cx, cy, s / 2.0 - 3, start, angle);
            cairo_stroke(cr);
        }
        cairo_pattern_t* body = cairo_pattern_create_radial(cx - 5, cy - 6, 2, cx, cy, s / 2.0 - 7);
        cairo_pattern_add_color_stop_rgb(body, 0, 0.33, 0.36, 0.30);
        cairo_pattern_add_color_stop_rgb(body, 1, 0.10, 0.11, 0.09);
        cairo_set_source(cr, body);
        cairo_arc(cr, cx, cy, s / 2.0 - 7, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_pattern_destroy(body);
        cairo_set_source_rgb(cr, 0.9, 0.95, 0.8);
        cairo_set_line_width(cr, 2.5);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, cx + std::cos(angle) * 5, cy + std::sin(angle) * 5);
        cairo_line_to(cr, cx + std::cos(angle) * (s / 2.0 - 10),
                      cy + std::sin(angle) * (s / 2.0 - 10));
        cairo_stroke(cr);
    }
    cairo_destroy(cr);
    encode(surface, gKnob);
}

// A square switch, dark when off and lit when on.
void drawSwitchStrip()
{
    const int s = kSwitchSide;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, s, s * 2);
    cairo_t* cr = cairo_create(surface);
    for (int f = 0; f < 2; ++f) {
        const double top = s * f;
        cairo_set_source_rgb(cr, 0.12, 0.13, 0.11);
        cairo_rectangle(cr, 2, top + 2, s - 4, s - 4);
        cairo_fill(cr);
        cairo_set_line_width(cr, 1);
        cairo_set_source_rgb(cr, 0.39, 0.47, 0.0);
        cairo_rectangle(cr, 2.5, top + 2.5, s - 5, s - 5);
        cairo_stroke(cr);
        if (f == 1)
            cairo_set_source_rgb(cr, 0.76, 0.98, 0.02);
        else
            cairo_set_source_rgb(cr, 0.22, 0.26, 0.10);
        cairo_arc(cr, s / 2.0, top + s / 2.0, s / 4.0, 0, 2 * std::numbers::pi);
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    encode(surface, gSwitch);
}

bool lookup(const char* name, VSTGUI::CResourceData& out)
{
    const std::vector<uint8_t>* png = nullptr;
    if (std::strcmp(name, "gallery-knob.png") == 0)
        png = &gKnob;
    else if (std::strcmp(name, "gallery-switch.png") == 0)
        png = &gSwitch;
    if (!png || png->empty())
        return false;
    out.data = png->data();
    out.size = png->size();
    return true;
}

} // namespace

void registerPictures()
{
    drawKnobStrip();
    drawSwitchStrip();
    VSTGUI::setResourceLookup(lookup);
}

} // namespace gallery
