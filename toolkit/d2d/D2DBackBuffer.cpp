#include "toolkit/d2d/D2DBackBuffer.h"

#include "toolkit/ScaleFactor.h"
#include "toolkit/d2d/D2DDrawContext.h"
#include "toolkit/platform/win32/ResourceCount.h"

#include <cmath>
#include <cstring>

namespace VSTGUI::D2D {

namespace {

constexpr int kMaxSide = 16384;

} // namespace

BackBuffer::BackBuffer(IPlatformFrameCallback* callback, const CRect& size, double scaleFactor)
    : callback_(callback)
{
    if (make(factory_,
             [](ID2D1Factory** out) {
                 return D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory),
                                          nullptr, reinterpret_cast<void**>(out));
             }) &&
        make(writeFactory_, [](IDWriteFactory** out) {
            return DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                                       reinterpret_cast<IUnknown**>(out));
        }))
        create(size, scaleFactor);
}

BackBuffer::~BackBuffer()
{
    release();
}

bool BackBuffer::create(const CRect& size, double scaleFactor)
{
    scaleFactor = clampScaleFactor(scaleFactor);
    const double w = scaledPixels(size.getWidth(), scaleFactor);
    const double h = scaledPixels(size.getHeight(), scaleFactor);
    if (!factory_ || !(w >= 1 && h >= 1 && w <= kMaxSide && h <= kMaxSide))
        return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(w);
    info.bmiHeader.biHeight = -static_cast<LONG>(h); // rows top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return false;
    Win32::noteCreated(Win32::ResourceKind::kGdiObject);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        DeleteDC(dc);
        Win32::noteReleased(Win32::ResourceKind::kGdiObject);
        return false;
    }
    Win32::noteCreated(Win32::ResourceKind::kGdiObject);
    ComRef<ID2D1DCRenderTarget> target;
    const D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties(
        D2D1_RENDER_TARGET_TYPE_DEFAULT,
        D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE));
    const RECT bounds{0, 0, static_cast<LONG>(w), static_cast<LONG>(h)};
    HGDIOBJ previous = SelectObject(dc, bitmap);
    if (!make(target,
              [&](ID2D1DCRenderTarget** out) {
                  return factory_->CreateDCRenderTarget(&properties, out);
              }) ||
        FAILED(target->BindDC(dc, &bounds))) {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
        Win32::noteReleased(Win32::ResourceKind::kGdiObject);
        Win32::noteReleased(Win32::ResourceKind::kGdiObject);
        return false;
    }
    release();
    std::memset(bits, 0, static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    dc_ = dc;
    bitmap_ = bitmap;
    previousBitmap_ = previous;
    bits_ = bits;
    target_ = std::move(target);
    cache_ = std::make_unique<ResourceCache>(target_.get(), factory_.get(), writeFactory_.get());
    size_ = size;
    pixelSize_ = CRect(0, 0, w, h);
    scaleFactor_ = scaleFactor;
    dirty_.setAll(pixelSize_);
    return true;
}

void BackBuffer::release()
{
    cache_.reset();
    target_.reset();
    if (dc_) {
        SelectObject(dc_, previousBitmap_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
        Win32::noteReleased(Win32::ResourceKind::kGdiObject);
        Win32::noteReleased(Win32::ResourceKind::kGdiObject);
    }
    dc_ = nullptr;
    bitmap_ = nullptr;
    previousBitmap_ = nullptr;
    bits_ = nullptr;
}

bool BackBuffer::resize(const CRect& size, double scaleFactor)
{
    return create(size, scaleFactor);
}

void BackBuffer::invalidRect(const CRect& rect)
{
    dirty_.add(scaleRectOut(rect, scaleFactor_), pixelSize_);
}

CRect BackBuffer::paint()
{
    const CRect area = dirty_.take();
    if (!isValid() || area.isEmpty())
        return {};
    const RECT bounds{0, 0, static_cast<LONG>(pixelSize_.getWidth()),
                      static_cast<LONG>(pixelSize_.getHeight())};
    if (FAILED(target_->BindDC(dc_, &bounds)))
        return {};
    const int64_t createdBefore = Win32::createdResources(Win32::ResourceKind::kDirect2D);
    target_->BeginDraw();
    // The views draw in unscaled units; the target's transform scales them.
    target_->SetTransform(D2D1::Matrix3x2F::Scale(static_cast<float>(scaleFactor_),
                                                  static_cast<float>(scaleFactor_)));
    {
        DrawContext context(*cache_, CRect(0, 0, size_.getWidth(), size_.getHeight()),
                            scaleFactor_);
        const CRect units = unscaleRectOut(area, scaleFactor_);
        context.setClipRect(units);
        // Opaque black under everything, so transparent views never show
        // stale pixels.
        context.setFillColor(kBlackCColor);
        context.drawRect(units, kDrawFilled);
        callback_->platformDrawRect(&context, units);
    }
    const HRESULT result = target_->EndDraw();
    GdiFlush();
    Win32::notePaint(Win32::createdResources(Win32::ResourceKind::kDirect2D) - createdBefore);
    if (result == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
        // The device went away: a new target paints everything next time.
        create(size_, scaleFactor_);
        return {};
    }
    return area;
}

} // namespace VSTGUI::D2D
