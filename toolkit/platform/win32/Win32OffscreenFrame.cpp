// A frame's window as an image in memory on Windows, for tools and tests
// that render without a host window.
#include "toolkit/d2d/D2DBackBuffer.h"
#include "toolkit/platform/IPlatformFrame.h"

namespace VSTGUI {

namespace {

class Win32OffscreenFrame : public IPlatformFrame
{
public:
    Win32OffscreenFrame(IPlatformFrameCallback* callback, const CRect& size, double scaleFactor)
        : buffer_(callback, size, scaleFactor)
    {}

    CRect getSize() const override { return buffer_.getSize(); }
    bool setSize(const CRect& newSize, bool) override { return buffer_.resize(newSize); }
    bool setScaleFactor(double scaleFactor, bool) override
    {
        return buffer_.resize(buffer_.getSize(), scaleFactor);
    }
    double getScaleFactor() const override { return buffer_.getScaleFactor(); }
    void invalidRect(const CRect& rect) override { buffer_.invalidRect(rect); }
    void processEvents() override {}
    void paint() override { buffer_.paint(); }
    bool isVisible() const override { return false; }

    bool isValid() const { return buffer_.isValid(); }

private:
    D2D::BackBuffer buffer_;
};

} // namespace

std::unique_ptr<IPlatformFrame> createOffscreenFrame(IPlatformFrameCallback* callback,
                                                     const CRect& size, double scaleFactor)
{
    auto frame = std::make_unique<Win32OffscreenFrame>(callback, size, scaleFactor);
    if (!frame->isValid())
        return nullptr;
    return frame;
}

} // namespace VSTGUI
