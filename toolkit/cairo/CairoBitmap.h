// PNG pictures decoded into Cairo image surfaces.
#pragma once

#include "toolkit/CBitmap.h"
#include "toolkit/cairo/CairoHandles.h"

namespace VSTGUI::Cairo {

class Bitmap : public IPlatformBitmap
{
public:
    explicit Bitmap(Surface surface) : surface_(std::move(surface)) {}
    int32_t getWidth() const override { return cairo_image_surface_get_width(surface_.get()); }
    int32_t getHeight() const override { return cairo_image_surface_get_height(surface_.get()); }
    cairo_surface_t* getSurface() const { return surface_.get(); }

private:
    Surface surface_;
};

} // namespace VSTGUI::Cairo
