// A small Windows host for the editor tests: a top-level window that holds
// the plug-in's editor, a message pump, the callback that records the edit
// gestures, and the pixels a window shows.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <wincodec.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "plugin/VstInterface.h"
#include "tests/support/RecordingHost.h"

namespace windows_test {

using vantelor_test::editGesture;
using vantelor_test::RecordingHost;

// The host callback, fresh. The test's window does not follow size requests,
// so the host declines them and the editor sizes that window itself.
inline audioMasterCallback freshHost()
{
    RecordingHost::reset(kVstVersion, false);
    return RecordingHost::callback;
}

inline void pumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Pumps and idles until done() holds or two seconds have passed.
inline bool pumpUntil(const std::function<void()>& idle, const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < end) {
        pumpMessages();
        idle();
        if (done())
            return true;
        Sleep(10);
    }
    return done();
}

class HostWindow
{
public:
    HostWindow(int width, int height)
    {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VantelorTestHost";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        RegisterClassExW(&wc);
        RECT r{0, 0, width, height};
        AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
        window = CreateWindowExW(0, L"VantelorTestHost", L"host",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20,
                                 r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        pumpMessages();
    }
    ~HostWindow()
    {
        if (window)
            DestroyWindow(window);
        pumpMessages();
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    std::vector<HWND> children() const
    {
        std::vector<HWND> found;
        for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            found.push_back(c);
        return found;
    }

    HWND window = nullptr;
};

// 0xRRGGBB pixels of a window's client area, rows top to bottom.
struct Pixels
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;

    uint32_t at(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < width && y < height ? rgb[static_cast<size_t>(y) * width + x]
                                                           : 0;
    }
};

inline Pixels capture(HWND window)
{
    Pixels p;
    RECT r{};
    GetClientRect(window, &r);
    p.width = r.right;
    p.height = r.bottom;
    if (p.width <= 0 || p.height <= 0)
        return p;
    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = p.width;
    info.bmiHeader.biHeight = -p.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, p.width, p.height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* data = static_cast<const uint32_t*>(bits);
    p.rgb.assign(data, data + static_cast<size_t>(p.width) * p.height);
    for (uint32_t& v : p.rgb)
        v &= 0xffffff;
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);
    return p;
}

// A PNG decoded to 0xRRGGBB over black (the editor draws on black), from
// the bytes of a resource or from a file.
inline Pixels decodePNG(const void* data, size_t size, const char* file)
{
    Pixels p;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    UINT w = 0, h = 0;
    bool opened =
        SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWICImagingFactory, reinterpret_cast<void**>(&factory)));
    if (opened && file) {
        wchar_t path[MAX_PATH] = {};
        MultiByteToWideChar(CP_UTF8, 0, file, -1, path, MAX_PATH);
        opened = SUCCEEDED(factory->CreateDecoderFromFilename(
            path, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, &decoder));
    } else if (opened) {
        opened = SUCCEEDED(factory->CreateStream(&stream)) &&
                 SUCCEEDED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)),
                                                        static_cast<DWORD>(size))) &&
                 SUCCEEDED(factory->CreateDecoderFromStream(
                     stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder));
    }
    if (opened && SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppPBGRA,
                                        WICBitmapDitherTypeNone, nullptr, 0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&w, &h))) {
        p.width = static_cast<int>(w);
        p.height = static_cast<int>(h);
        p.rgb.resize(static_cast<size_t>(w) * h);
        converter->CopyPixels(nullptr, w * 4, w * h * 4, reinterpret_cast<BYTE*>(p.rgb.data()));
        for (uint32_t& v : p.rgb)
            v &= 0xffffff;
    }
    for (IUnknown* object : {static_cast<IUnknown*>(converter), static_cast<IUnknown*>(frame),
                             static_cast<IUnknown*>(decoder), static_cast<IUnknown*>(stream),
                             static_cast<IUnknown*>(factory)})
        if (object)
            object->Release();
    CoUninitialize();
    return p;
}

inline Pixels decodePNGResource(HMODULE module, const char* name)
{
    HRSRC info = FindResourceA(module, name, "PNG");
    HGLOBAL handle = info ? LoadResource(module, info) : nullptr;
    const void* data = handle ? LockResource(handle) : nullptr;
    return data ? decodePNG(data, SizeofResource(module, info), nullptr) : Pixels{};
}

inline Pixels decodePNGFile(const char* path)
{
    return decodePNG(nullptr, 0, path);
}

inline int channelDistance(uint32_t a, uint32_t b)
{
    int d = 0;
    for (int shift : {0, 8, 16})
        d = std::max(d, std::abs(static_cast<int>((a >> shift) & 0xff) -
                                 static_cast<int>((b >> shift) & 0xff)));
    return d;
}

} // namespace windows_test
