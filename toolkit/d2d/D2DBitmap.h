// PNG pictures decoded by WIC into premultiplied 32-bit BGRA pixels; each
// drawing context makes its Direct2D bitmap from them when drawing.
#pragma once

#include "toolkit/CBitmap.h"

#include <vector>

namespace VSTGUI::D2D {

class Bitmap : public IPlatformBitmap
{
public:
    Bitmap(int32_t width, int32_t height, std::vector<uint32_t> pixels)
        : width_(width), height_(height), pixels_(std::move(pixels))
    {}
    int32_t getWidth() const override { return width_; }
    int32_t getHeight() const override { return height_; }
    // Rows top to bottom, width pixels each, premultiplied BGRA.
    const uint32_t* getPixels() const { return pixels_.data(); }

private:
    int32_t width_;
    int32_t height_;
    std::vector<uint32_t> pixels_;
};

} // namespace VSTGUI::D2D
