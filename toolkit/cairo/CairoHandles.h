// Owning handles for Cairo objects, so every early return releases them.
#pragma once

#include <cairo.h>

#include <memory>

namespace VSTGUI::Cairo {

struct SurfaceDeleter
{
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter
{
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};
struct PatternDeleter
{
    void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
};

using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;
using Pattern = std::unique_ptr<cairo_pattern_t, PatternDeleter>;

// A surface that reports an error state (allocation failure, bad PNG) is
// treated as absent.
inline Surface checked(cairo_surface_t* s)
{
    Surface owned(s);
    if (owned && cairo_surface_status(owned.get()) != CAIRO_STATUS_SUCCESS)
        owned.reset();
    return owned;
}

} // namespace VSTGUI::Cairo
