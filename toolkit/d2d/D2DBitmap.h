// PNG pictures decoded by WIC into premultiplied 32-bit BGRA pixels; each
// render target makes its Direct2D bitmap from them once, when first drawn.
#pragma once

#include "toolkit/CBitmap.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace VSTGUI::D2D {

class Bitmap : public IPlatformBitmap
{
public:
    Bitmap(int32_t width, int32_t height, std::vector<uint32_t> pixels)
        : width_(width), height_(height), pixels_(std::move(pixels)), serial_(nextSerial())
    {}
    int32_t getWidth() const override { return width_; }
    int32_t getHeight() const override { return height_; }
    // Rows top to bottom, width pixels each, premultiplied BGRA.
    const uint32_t* getPixels() const { return pixels_.data(); }
    // Unique for the life of the process: names these pixels in the caches
    // of render targets.
    uint64_t getSerial() const { return serial_; }

private:
    int32_t width_;
    int32_t height_;
    std::vector<uint32_t> pixels_;
    uint64_t serial_;

    static uint64_t nextSerial()
    {
        static std::atomic<uint64_t> next{1};
        return next.fetch_add(1, std::memory_order_relaxed);
    }
};

} // namespace VSTGUI::D2D
