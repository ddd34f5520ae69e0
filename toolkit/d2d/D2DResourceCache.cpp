#include "toolkit/d2d/D2DResourceCache.h"

#include "toolkit/CGraphics.h"
#include "toolkit/d2d/D2DBitmap.h"
#include "toolkit/platform/win32/Win32Module.h"

#include <windows.h>

namespace VSTGUI::D2D {

namespace {

// Faces with the same metrics, for systems without the requested family
// (Wine, a stripped-down Windows).
struct Substitute
{
    const wchar_t* family;
    const wchar_t* alternatives[2];
};
constexpr Substitute kSubstitutes[] = {
    {L"Arial", {L"Liberation Sans", L"Arimo"}},
    {L"Times New Roman", {L"Liberation Serif", L"Tinos"}},
    {L"Courier New", {L"Liberation Mono", L"Cousine"}},
};

// The font of the system collection that text in `name` is drawn with.
bool findFont(IDWriteFactory* factory, const char* name, DWRITE_FONT_WEIGHT weight,
              DWRITE_FONT_STYLE style, std::wstring& family, ComRef<IDWriteFont>& font)
{
    ComRef<IDWriteFontCollection> collection;
    if (!make(collection, [&](IDWriteFontCollection** out) {
            return factory->GetSystemFontCollection(out, FALSE);
        }))
        return false;
    auto lookup = [&](const wchar_t* candidate, UINT32& index) {
        BOOL exists = FALSE;
        return SUCCEEDED(collection->FindFamilyName(candidate, &index, &exists)) && exists;
    };
    UINT32 index = 0;
    family = widen(name);
    bool found = !family.empty() && lookup(family.c_str(), index);
    for (const Substitute& s : kSubstitutes) {
        if (found || _wcsicmp(s.family, family.c_str()) != 0)
            continue;
        for (const wchar_t* alternative : s.alternatives) {
            if (alternative && lookup(alternative, index)) {
                family = alternative;
                found = true;
                break;
            }
        }
    }
    if (!found) {
        if (collection->GetFontFamilyCount() == 0)
            return false;
        index = 0;
    }
    ComRef<IDWriteFontFamily> fontFamily;
    if (!make(fontFamily,
              [&](IDWriteFontFamily** out) { return collection->GetFontFamily(index, out); }))
        return false;
    if (!found) {
        ComRef<IDWriteLocalizedStrings> names;
        if (!make(names,
                  [&](IDWriteLocalizedStrings** out) { return fontFamily->GetFamilyNames(out); }))
            return false;
        wchar_t buffer[128] = {};
        if (FAILED(names->GetString(0, buffer, 128)))
            return false;
        family = buffer;
    }
    return make(font, [&](IDWriteFont** out) {
        return fontFamily->GetFirstMatchingFont(weight, DWRITE_FONT_STRETCH_NORMAL, style, out);
    });
}

} // namespace

ResourceCache::ResourceCache(ID2D1RenderTarget* target, ID2D1Factory* factory,
                             IDWriteFactory* writeFactory)
    : target_(target), factory_(factory), writeFactory_(writeFactory)
{}

ID2D1SolidColorBrush* ResourceCache::brush(const D2D1_COLOR_F& color)
{
    std::string key;
    appendKey(key, color);
    if (auto* found = brushes_.find(key))
        return found->get();
    ComRef<ID2D1SolidColorBrush> brush;
    if (!make(brush, [&](ID2D1SolidColorBrush** out) {
            return target_->CreateSolidColorBrush(color, out);
        }))
        return nullptr;
    return brushes_.insert(std::move(key), std::move(brush))->get();
}

ID2D1StrokeStyle* ResourceCache::strokeStyle(bool dashed)
{
    ComRef<ID2D1StrokeStyle>& style = dashed ? dashedStroke_ : solidStroke_;
    if (!style) {
        // Dashes as long as the line is wide with butt caps; solid lines with
        // square caps, as the Linux backend draws them.
        const D2D1_CAP_STYLE cap = dashed ? D2D1_CAP_STYLE_FLAT : D2D1_CAP_STYLE_SQUARE;
        const D2D1_STROKE_STYLE_PROPERTIES properties = D2D1::StrokeStyleProperties(
            cap, cap, D2D1_CAP_STYLE_FLAT, D2D1_LINE_JOIN_MITER, 10.f,
            dashed ? D2D1_DASH_STYLE_CUSTOM : D2D1_DASH_STYLE_SOLID, 0.f);
        const float dashes[] = {1.f, 1.f};
        make(style, [&](ID2D1StrokeStyle** out) {
            return factory_->CreateStrokeStyle(properties, dashed ? dashes : nullptr,
                                               dashed ? 2 : 0, out);
        });
    }
    return style.get();
}

const ResourceCache::TextFormat* ResourceCache::textFormat(const char* name, int32_t style,
                                                           float size)
{
    std::string key(name ? name : "");
    key.push_back('\0');
    appendKey(key, style);
    appendKey(key, size);
    if (const TextFormat* found = formats_.find(key))
        return found;
    const DWRITE_FONT_WEIGHT weight =
        (style & kBoldFace) ? DWRITE_FONT_WEIGHT_BOLD : DWRITE_FONT_WEIGHT_NORMAL;
    const DWRITE_FONT_STYLE slant =
        (style & kItalicFace) ? DWRITE_FONT_STYLE_ITALIC : DWRITE_FONT_STYLE_NORMAL;
    std::wstring family;
    ComRef<IDWriteFont> font;
    if (!findFont(writeFactory_, name ? name : "", weight, slant, family, font))
        return nullptr;
    TextFormat entry;
    entry.key = key;
    DWRITE_FONT_METRICS metrics{};
    font->GetMetrics(&metrics);
    const float unitsPerEm = metrics.designUnitsPerEm > 0 ? metrics.designUnitsPerEm : 2048.f;
    entry.ascent = metrics.ascent * size / unitsPerEm;
    entry.descent = metrics.descent * size / unitsPerEm;
    if (!make(entry.format, [&](IDWriteTextFormat** out) {
            return writeFactory_->CreateTextFormat(family.c_str(), nullptr, weight, slant,
                                                   DWRITE_FONT_STRETCH_NORMAL, size, L"", out);
        }))
        return nullptr;
    entry.format->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);
    return formats_.insert(std::move(key), std::move(entry));
}

const ResourceCache::TextLayout* ResourceCache::textLayout(const TextFormat& format,
                                                           const std::wstring& text)
{
    if (text.empty())
        return nullptr;
    std::string key = format.key;
    key.push_back('\0');
    key.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    if (const TextLayout* found = layouts_.find(key))
        return found;
    TextLayout entry;
    if (!make(entry.layout, [&](IDWriteTextLayout** out) {
            return writeFactory_->CreateTextLayout(text.c_str(), static_cast<UINT32>(text.size()),
                                                   format.format.get(), 1e5f, 1e5f, out);
        }))
        return nullptr;
    DWRITE_TEXT_METRICS textMetrics{};
    if (FAILED(entry.layout->GetMetrics(&textMetrics)))
        return nullptr;
    entry.width = textMetrics.widthIncludingTrailingWhitespace;
    DWRITE_LINE_METRICS line{};
    UINT32 lines = 0;
    entry.lineBaseline = SUCCEEDED(entry.layout->GetLineMetrics(&line, 1, &lines)) && lines > 0
                             ? line.baseline
                             : format.ascent;
    return layouts_.insert(std::move(key), std::move(entry));
}

template <class Geometry, class Shape, class Create>
ID2D1Geometry* ResourceCache::shapeGeometry(char kind, const Shape& shape, Create&& create)
{
    std::string key(1, kind);
    appendKey(key, shape);
    if (auto* found = geometries_.find(key))
        return found->get();
    ComRef<Geometry> geometry;
    if (!make(geometry, [&](Geometry** out) { return create(shape, out); }))
        return nullptr;
    return geometries_.insert(std::move(key), ComRef<ID2D1Geometry>(std::move(geometry)))->get();
}

ID2D1Geometry* ResourceCache::rectangle(const D2D1_RECT_F& rect)
{
    return shapeGeometry<ID2D1RectangleGeometry>(
        'r', rect, [this](const D2D1_RECT_F& shape, ID2D1RectangleGeometry** out) {
            return factory_->CreateRectangleGeometry(shape, out);
        });
}

ID2D1Geometry* ResourceCache::ellipse(const D2D1_ELLIPSE& ellipse)
{
    return shapeGeometry<ID2D1EllipseGeometry>(
        'e', ellipse, [this](const D2D1_ELLIPSE& shape, ID2D1EllipseGeometry** out) {
            return factory_->CreateEllipseGeometry(shape, out);
        });
}

ID2D1LinearGradientBrush* ResourceCache::linearGradient(const D2D1_GRADIENT_STOP* stops,
                                                        uint32_t count, D2D1_POINT_2F start,
                                                        D2D1_POINT_2F end)
{
    std::string key;
    appendKey(key, start);
    appendKey(key, end);
    key.append(reinterpret_cast<const char*>(stops), count * sizeof(D2D1_GRADIENT_STOP));
    if (auto* found = gradients_.find(key))
        return found->get();
    // The brush keeps its stops alive; the collection is not needed after.
    ComRef<ID2D1GradientStopCollection> collection;
    if (!make(collection, [&](ID2D1GradientStopCollection** out) {
            return target_->CreateGradientStopCollection(stops, count, out);
        }))
        return nullptr;
    ComRef<ID2D1LinearGradientBrush> brush;
    if (!make(brush, [&](ID2D1LinearGradientBrush** out) {
            return target_->CreateLinearGradientBrush(
                D2D1::LinearGradientBrushProperties(start, end), collection.get(), out);
        }))
        return nullptr;
    return gradients_.insert(std::move(key), std::move(brush))->get();
}

ID2D1Bitmap* ResourceCache::bitmap(const Bitmap& picture)
{
    const UINT32 largest = target_->GetMaximumBitmapSize();
    if (picture.getWidth() <= 0 || picture.getHeight() <= 0 ||
        static_cast<UINT32>(picture.getWidth()) > largest ||
        static_cast<UINT32>(picture.getHeight()) > largest)
        return nullptr;
    // Keyed by the picture's serial number, not its address: a picture
    // made where a freed one was must not draw the old pixels.
    std::string key;
    appendKey(key, picture.getSerial());
    if (auto* found = bitmaps_.find(key))
        return found->get();
    ComRef<ID2D1Bitmap> image;
    const D2D1_BITMAP_PROPERTIES properties = D2D1::BitmapProperties(
        D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED));
    if (!make(image, [&](ID2D1Bitmap** out) {
            return target_->CreateBitmap(
                D2D1::SizeU(static_cast<UINT32>(picture.getWidth()),
                            static_cast<UINT32>(picture.getHeight())),
                picture.getPixels(), static_cast<UINT32>(picture.getWidth()) * 4, properties, out);
        }))
        return nullptr;
    return bitmaps_.insert(std::move(key), std::move(image))->get();
}

} // namespace VSTGUI::D2D
