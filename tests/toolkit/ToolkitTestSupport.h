// Off-screen frames and small views for the toolkit tests.
#pragma once

#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"
#include "toolkit/platform/offscreen/OffscreenFrame.h"

#include <functional>
#include <utility>

namespace vantelor_test {

// A view that draws with a given function.
class LambdaView : public VSTGUI::CView
{
public:
    LambdaView(const VSTGUI::CRect& size, std::function<void(VSTGUI::CDrawContext*)> paint)
        : CView(size), paint_(std::move(paint))
    {
    }
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
    explicit OffscreenFixture(VSTGUI::CCoord width = 64, VSTGUI::CCoord height = 64,
                              VSTGUI::VSTGUIEditorInterface* editor = nullptr)
        : frame(new VSTGUI::CFrame(VSTGUI::CRect(0, 0, width, height), editor))
    {
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
