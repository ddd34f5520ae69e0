// What the Direct2D backend makes once and draws with for the life of one
// render target: brushes per colour, stroke styles, a DirectWrite text format
// per font, text layouts per string, geometries per shape, gradient brushes
// and a device bitmap per picture. A paint that repeats the previous one
// creates no object. Every map is bounded: when one is full it is emptied and
// refills with what the next paints use, so changing text or animated shapes
// cannot grow memory without limit.
#pragma once

#include "toolkit/d2d/ComRef.h"

#include <d2d1.h>
#include <dwrite.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace VSTGUI::D2D {

class Bitmap;

class ResourceCache
{
public:
    // Target and factories must outlive the cache; a new render target needs
    // a new cache (device objects belong to the target that made them).
    ResourceCache(ID2D1RenderTarget* target, ID2D1Factory* factory, IDWriteFactory* writeFactory);
    ResourceCache(const ResourceCache&) = delete;
    ResourceCache& operator=(const ResourceCache&) = delete;

    ID2D1RenderTarget* target() const { return target_; }
    ID2D1Factory* factory() const { return factory_; }

    ID2D1SolidColorBrush* brush(const D2D1_COLOR_F& color);
    ID2D1StrokeStyle* strokeStyle(bool dashed);

    struct TextFormat
    {
        ComRef<IDWriteTextFormat> format;
        // Names the font, so layouts in it are found again.
        std::string key;
        // Font metrics in pixels at the format's size.
        float ascent = 0;
        float descent = 0;
    };
    struct TextLayout
    {
        ComRef<IDWriteTextLayout> layout;
        float width = 0;
        float lineBaseline = 0;
    };
    // The format for a font by name (with metric-compatible substitutes),
    // style bits and size in pixels; null when no font can be had.
    const TextFormat* textFormat(const char* name, int32_t style, float size);
    // One line of text laid out in a format; null for empty text.
    const TextLayout* textLayout(const TextFormat& format, const std::wstring& text);

    // Rectangles and ellipses as geometries, from their corners.
    ID2D1Geometry* rectangle(const D2D1_RECT_F& rect);
    ID2D1Geometry* ellipse(const D2D1_ELLIPSE& ellipse);
    // Any other geometry: `key` names its shape completely; `build` fills
    // the path geometry on a miss and returns false when it cannot.
    template <class Build>
    ID2D1Geometry* path(std::string key, Build&& build);

    ID2D1LinearGradientBrush* linearGradient(const D2D1_GRADIENT_STOP* stops, uint32_t count,
                                             D2D1_POINT_2F start, D2D1_POINT_2F end);

    // The whole picture on the device; null when it is larger than the
    // target takes (then the caller uploads the part it draws).
    ID2D1Bitmap* bitmap(const Bitmap& picture);

private:
    // A geometry made from one plain shape description, cached under `kind`
    // and the description's bytes.
    template <class Geometry, class Shape, class Create>
    ID2D1Geometry* shapeGeometry(char kind, const Shape& shape, Create&& create);

    template <class T>
    class Map
    {
    public:
        explicit Map(size_t limit) : limit_(limit) {}
        T* find(const std::string& key)
        {
            const auto it = entries_.find(key);
            return it == entries_.end() ? nullptr : &it->second;
        }
        T* insert(std::string key, T&& value)
        {
            if (entries_.size() >= limit_)
                entries_.clear();
            return &entries_.insert_or_assign(std::move(key), std::move(value)).first->second;
        }

    private:
        size_t limit_;
        std::unordered_map<std::string, T> entries_;
    };

    ID2D1RenderTarget* target_;
    ID2D1Factory* factory_;
    IDWriteFactory* writeFactory_;
    ComRef<ID2D1StrokeStyle> solidStroke_;
    ComRef<ID2D1StrokeStyle> dashedStroke_;
    Map<ComRef<ID2D1SolidColorBrush>> brushes_{256};
    Map<TextFormat> formats_{64};
    Map<TextLayout> layouts_{512};
    Map<ComRef<ID2D1Geometry>> geometries_{512};
    Map<ComRef<ID2D1LinearGradientBrush>> gradients_{64};
    Map<ComRef<ID2D1Bitmap>> bitmaps_{64};
};

// Appends the bytes of a plain value to a cache key.
template <class T>
void appendKey(std::string& key, const T& value)
{
    key.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

template <class Build>
ID2D1Geometry* ResourceCache::path(std::string key, Build&& build)
{
    key.insert(0, 1, 'p');
    if (auto* found = geometries_.find(key))
        return found->get();
    ComRef<ID2D1PathGeometry> geometry;
    if (!make(geometry, [&](ID2D1PathGeometry** out) { return factory_->CreatePathGeometry(out); }))
        return nullptr;
    ComRef<ID2D1GeometrySink> sink;
    if (!make(sink, [&](ID2D1GeometrySink** out) { return geometry->Open(out); }))
        return nullptr;
    if (!build(sink.get()) || FAILED(sink->Close()))
        return nullptr;
    return geometries_.insert(std::move(key), ComRef<ID2D1Geometry>(std::move(geometry)))->get();
}

} // namespace VSTGUI::D2D
