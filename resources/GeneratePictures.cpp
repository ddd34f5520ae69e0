// Draws the editor's two pictures: the background "gui.png" (414 x 289:
// two loudspeakers over a grey stage inside a frame, a dark strip along
// the bottom for the version label and the link button) and "info.png"
// (20 x 40: an information button, normal above and pressed below), each
// also at twice the size ("gui@2x.png", "info@2x.png") for windows on
// scaled displays: the same drawing, not an enlarged picture.
//
// Usage: vantelor_picture_generator OUTPUT_DIRECTORY
// The committed pictures are this program's output; run it again after
// changing the artwork.
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr int kGuiWidth = 414;
constexpr int kGuiHeight = 289;
constexpr int kInfoSide = 20;

// Where the stage's loudspeakers stand: at +-30 degrees of a plot that
// spans -60..60 degrees over columns 27..391, on the elevation-0 row.
constexpr double kSpeakerLeftX = 118;
constexpr double kSpeakerRightX = 300;
constexpr double kSpeakerY = 127;

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void drawSpeaker(cairo_t* cr, double cx, double cy)
{
    const double w = 44;
    const double h = 70;
    const double x = cx - w / 2;
    const double y = cy - h / 2;

    // Shadow on the stage floor.
    cairo_save(cr);
    cairo_translate(cr, cx + 4, cy + h / 2 + 2);
    cairo_scale(cr, w * 0.7, 6);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_fill(cr);

    // Cabinet.
    cairo_pattern_t* body = cairo_pattern_create_linear(x, 0, x + w, 0);
    cairo_pattern_add_color_stop_rgb(body, 0, 0.20, 0.20, 0.22);
    cairo_pattern_add_color_stop_rgb(body, 0.5, 0.30, 0.30, 0.32);
    cairo_pattern_add_color_stop_rgb(body, 1, 0.16, 0.16, 0.18);
    roundedRect(cr, x, y, w, h, 4);
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    cairo_set_source_rgb(cr, 0.08, 0.08, 0.09);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);

    // Tweeter and woofer.
    const struct
    {
        double dy, radius;
    } drivers[] = {{-19, 6}, {10, 15}};
    for (const auto& d : drivers) {
        cairo_pattern_t* cone =
            cairo_pattern_create_radial(cx - 2, cy + d.dy - 2, 1, cx, cy + d.dy, d.radius);
        cairo_pattern_add_color_stop_rgb(cone, 0, 0.55, 0.55, 0.58);
        cairo_pattern_add_color_stop_rgb(cone, 0.6, 0.12, 0.12, 0.13);
        cairo_pattern_add_color_stop_rgb(cone, 1, 0.05, 0.05, 0.05);
        cairo_arc(cr, cx, cy + d.dy, d.radius, 0, 2 * M_PI);
        cairo_set_source(cr, cone);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(cone);
        cairo_set_source_rgb(cr, 0.42, 0.42, 0.45);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    }
}

bool drawGui(const std::string& path, int scale)
{
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, kGuiWidth * scale, kGuiHeight * scale);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);

    // Outer frame with a bevel.
    cairo_set_source_rgb(cr, 0.13, 0.13, 0.14);
    cairo_paint(cr);
    cairo_rectangle(cr, 1.5, 1.5, kGuiWidth - 3, kGuiHeight - 3);
    cairo_set_source_rgb(cr, 0.30, 0.30, 0.32);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    // Stage: a grey floor lit from above, behind the plot area.
    const double sx = 12, sy = 10, sw = kGuiWidth - 24, sh = 244;
    cairo_pattern_t* stage = cairo_pattern_create_linear(0, sy, 0, sy + sh);
    cairo_pattern_add_color_stop_rgb(stage, 0, 0.36, 0.37, 0.38);
    cairo_pattern_add_color_stop_rgb(stage, 0.5, 0.47, 0.48, 0.49);
    cairo_pattern_add_color_stop_rgb(stage, 1, 0.30, 0.31, 0.32);
    roundedRect(cr, sx, sy, sw, sh, 8);
    cairo_set_source(cr, stage);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(stage);
    cairo_set_source_rgb(cr, 0.07, 0.07, 0.08);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);

    // Floor boards converging towards the listener, faint.
    cairo_set_line_width(cr, 1);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.05);
    for (int i = -6; i <= 6; ++i) {
        cairo_move_to(cr, kGuiWidth / 2.0 + i * 14, 150);
        cairo_line_to(cr, kGuiWidth / 2.0 + i * 40, sy + sh - 2);
    }
    cairo_stroke(cr);

    // The listener's position, a small mark at the front edge.
    cairo_arc(cr, kGuiWidth / 2.0, 236, 5, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_fill(cr);

    drawSpeaker(cr, kSpeakerLeftX, kSpeakerY);
    drawSpeaker(cr, kSpeakerRightX, kSpeakerY);

    // Dark strip along the bottom, behind the label and the button.
    cairo_rectangle(cr, 2, 262, kGuiWidth - 4, kGuiHeight - 264);
    cairo_set_source_rgb(cr, 0.06, 0.06, 0.07);
    cairo_fill(cr);

    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

void drawInfoButton(cairo_t* cr, double top, bool pressed)
{
    const double c = kInfoSide / 2.0;
    const double shift = pressed ? 1 : 0;
    cairo_arc(cr, c + shift, top + c + shift, 8.5, 0, 2 * M_PI);
    cairo_pattern_t* face = cairo_pattern_create_linear(0, top + 2, 0, top + 18);
    const double l = pressed ? 0.55 : 0.80;
    cairo_pattern_add_color_stop_rgb(face, 0, 0.45 * l, 0.62 * l, 0.85 * l);
    cairo_pattern_add_color_stop_rgb(face, 1, 0.20 * l, 0.32 * l, 0.55 * l);
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    cairo_set_source_rgb(cr, 0.05, 0.06, 0.08);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    // The letter i: a dot and a stem.
    cairo_set_source_rgb(cr, pressed ? 0.80 : 0.97, pressed ? 0.80 : 0.97, pressed ? 0.82 : 0.99);
    cairo_arc(cr, c + shift, top + 5.5 + shift, 1.4, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_rectangle(cr, c - 1.2 + shift, top + 8 + shift, 2.4, 7);
    cairo_fill(cr);
}

bool drawInfo(const std::string& path, int scale)
{
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kInfoSide * scale, 2 * kInfoSide * scale);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    drawInfoButton(cr, 0, false);
    drawInfoButton(cr, kInfoSide, true);
    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    if (!drawGui(dir + "/gui.png", 1) || !drawInfo(dir + "/info.png", 1) ||
        !drawGui(dir + "/gui@2x.png", 2) || !drawInfo(dir + "/info@2x.png", 2)) {
        std::fprintf(stderr, "could not write the pictures to %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
