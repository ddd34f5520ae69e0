// Owning handles for the X resources of a window, so that every path out of
// creation and the destructor release them, in the right order.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <memory>

namespace VSTGUI::X11 {

struct DisplayCloser
{
    void operator()(Display* d) const { XCloseDisplay(d); }
};
using DisplayHandle = std::unique_ptr<Display, DisplayCloser>;

// An image over pixels it does not own (a Cairo back buffer): they are
// detached before Xlib frees the image.
struct ImageDestroyer
{
    void operator()(XImage* image) const
    {
        image->data = nullptr;
        XDestroyImage(image);
    }
};
using ImageHandle = std::unique_ptr<XImage, ImageDestroyer>;

// An image over a Cairo image surface's pixels (24-bit colour in 32-bit
// native-endian words), to put them into a window; null when it cannot be
// made. The surface must outlive it.
inline ImageHandle makeImageOver(Display* display, Visual* visual, cairo_surface_t* surface)
{
    ImageHandle image(XCreateImage(display, visual, 24, ZPixmap, 0,
                                   reinterpret_cast<char*>(cairo_image_surface_get_data(surface)),
                                   static_cast<unsigned>(cairo_image_surface_get_width(surface)),
                                   static_cast<unsigned>(cairo_image_surface_get_height(surface)),
                                   32, cairo_image_surface_get_stride(surface)));
    if (image)
        image->byte_order = LSBFirst;
    return image;
}

// A server-side resource of one connection, freed with `Free`.
template <typename Id, auto Free>
class Resource
{
public:
    Resource() = default;
    Resource(Display* display, Id id) : display_(display), id_(id) {}
    ~Resource() { reset(); }
    Resource(const Resource&) = delete;
    Resource& operator=(const Resource&) = delete;
    Resource& operator=(Resource&& other) noexcept
    {
        if (this != &other) {
            reset();
            display_ = other.display_;
            id_ = other.release();
        }
        return *this;
    }

    Id get() const { return id_; }
    explicit operator bool() const { return id_ != Id{}; }
    // Gives up the resource without freeing it (it is already gone on the
    // server, for instance with a destroyed parent window).
    Id release()
    {
        Id id = id_;
        id_ = Id{};
        return id;
    }
    void reset()
    {
        if (id_ != Id{})
            Free(display_, id_);
        id_ = Id{};
    }

private:
    Display* display_ = nullptr;
    Id id_{};
};

using WindowHandle = Resource<Window, XDestroyWindow>;
using ColormapHandle = Resource<Colormap, XFreeColormap>;
using GCHandle = Resource<GC, XFreeGC>;

} // namespace VSTGUI::X11
