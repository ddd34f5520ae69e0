#include "toolkit/cairo/CairoBitmap.h"

#include <cstring>

namespace VSTGUI {

namespace {

struct ReadCursor
{
    const uint8_t* data;
    size_t size;
    size_t position;
};

cairo_status_t readFromMemory(void* closure, unsigned char* out, unsigned int length)
{
    auto* cursor = static_cast<ReadCursor*>(closure);
    if (length > cursor->size - cursor->position)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, cursor->data + cursor->position, length);
    cursor->position += length;
    return CAIRO_STATUS_SUCCESS;
}

} // namespace

std::unique_ptr<IPlatformBitmap> createPlatformBitmapFromPNG(const uint8_t* data, size_t size)
{
    if (!data || size == 0)
        return nullptr;
    ReadCursor cursor{data, size, 0};
    Cairo::Surface surface =
        Cairo::checked(cairo_image_surface_create_from_png_stream(readFromMemory, &cursor));
    if (!surface)
        return nullptr;
    return std::make_unique<Cairo::Bitmap>(std::move(surface));
}

} // namespace VSTGUI
