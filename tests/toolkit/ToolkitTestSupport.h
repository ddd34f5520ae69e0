// Off-screen frames, small views and in-memory pictures for the toolkit
// tests.
#pragma once

#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"
#include "toolkit/platform/offscreen/OffscreenFrame.h"

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace vantelor_test {

// An image surface encoded as a PNG file, for pictures served to the
// toolkit's bitmaps.
inline std::vector<uint8_t> pngBytes(cairo_surface_t* surface)
{
    std::vector<uint8_t> bytes;
    cairo_surface_write_to_png_stream(
        surface,
        [](void* closure, const unsigned char* data, unsigned int length) {
            auto* out = static_cast<std::vector<uint8_t>*>(closure);
            out->insert(out->end(), data, data + length);
            return CAIRO_STATUS_SUCCESS;
        },
        &bytes);
    return bytes;
}

// A view that draws with a given function.
class LambdaView : public VSTGUI::CView
{
public:
    LambdaView(const VSTGUI::CRect& size, std::function<void(VSTGUI::CDrawContext*)> paint)
        : CView(size), paint_(std::move(paint))
    {}
    void draw(VSTGUI::CDrawContext* context) override
    {
        paint_(context);
        setDirty(false);
    }

private:
    std::function<void(VSTGUI::CDrawContext*)> paint_;
};

// An off-screen frame that is released at the end of the scope.
class OffscreenFixture
{
public:
    // zoom: the frame's scale factor (the image is that many times larger).
    explicit OffscreenFixture(VSTGUI::CCoord width = 64, VSTGUI::CCoord height = 64,
                              VSTGUI::VSTGUIEditorInterface* editor = nullptr, double zoom = 1.0)
        : frame(new VSTGUI::CFrame(VSTGUI::CRect(0, 0, width, height), editor))
    {
        frame->setZoom(zoom);
        frame->open(nullptr);
    }
    ~OffscreenFixture() { frame->forget(); }
    OffscreenFixture(const OffscreenFixture&) = delete;
    OffscreenFixture& operator=(const OffscreenFixture&) = delete;

    VSTGUI::OffscreenFrame* image() const
    {
        return dynamic_cast<VSTGUI::OffscreenFrame*>(frame->getPlatformFrame());
    }
    VSTGUI::CColor pixel(int x, int y)
    {
        frame->idle();
        return image()->getPixel(x, y);
    }
    void paint(std::function<void(VSTGUI::CDrawContext*)> fn)
    {
        frame->addView(new LambdaView(frame->getViewSize(), std::move(fn)));
        frame->idle();
    }

    VSTGUI::CFrame* frame;
};

} // namespace vantelor_test
