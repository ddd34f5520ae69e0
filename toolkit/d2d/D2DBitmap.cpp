#include "toolkit/d2d/D2DBitmap.h"

#include "toolkit/d2d/ComRef.h"

#include <windows.h>
#include <wincodec.h>

namespace VSTGUI {

namespace {

// WIC is a COM library: the calling thread must have COM initialised. A host
// usually has done so on its window thread; otherwise it is done for the
// duration of the decoding and undone after it.
class ComScope
{
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope()
    {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT result_;
};

constexpr UINT kMaxSide = 16384;

} // namespace

std::unique_ptr<IPlatformBitmap> createPlatformBitmapFromPNG(const uint8_t* data, size_t size)
{
    using D2D::ComRef;
    using D2D::make;
    if (!data || size == 0 || size > 0x7fffffff)
        return nullptr;
    ComScope com;
    ComRef<IWICImagingFactory> factory;
    if (!make(factory, [](IWICImagingFactory** out) {
            return CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory, reinterpret_cast<void**>(out));
        }))
        return nullptr;
    ComRef<IWICStream> stream;
    if (!make(stream, [&](IWICStream** out) { return factory->CreateStream(out); }))
        return nullptr;
    if (FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size))))
        return nullptr;
    ComRef<IWICBitmapDecoder> decoder;
    if (!make(decoder, [&](IWICBitmapDecoder** out) {
            return factory->CreateDecoderFromStream(stream.get(), &GUID_ContainerFormatPng,
                                                    WICDecodeMetadataCacheOnDemand, out);
        }))
        return nullptr;
    ComRef<IWICBitmapFrameDecode> frame;
    if (!make(frame, [&](IWICBitmapFrameDecode** out) { return decoder->GetFrame(0, out); }))
        return nullptr;
    ComRef<IWICFormatConverter> converter;
    if (!make(converter,
              [&](IWICFormatConverter** out) { return factory->CreateFormatConverter(out); }))
        return nullptr;
    if (FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return nullptr;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 ||
        width > kMaxSide || height > kMaxSide)
        return nullptr;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(pixels.data()))))
        return nullptr;
    return std::make_unique<D2D::Bitmap>(static_cast<int32_t>(width), static_cast<int32_t>(height),
                                         std::move(pixels));
}

} // namespace VSTGUI
