#include "editor/controls/Plot3D.h"

#include "editor/controls/ControlValues.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace VSTGUI;
using control_values::store;

C3DPlot::C3DPlot(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background)
    : CControl(size, listener, tag, background)
{
    setRotation(0, 0, 2);
    setMouseEnabled(false);
    setTransparency(true);
}

C3DPlot::C3DPlot(const C3DPlot& other) = default;
C3DPlot::~C3DPlot() = default;

bool C3DPlot::isTypeOf(const char* type) const
{
    return (type && std::strcmp(type, "C3DPlot") == 0) || CControl::isTypeOf(type);
}

void C3DPlot::setForegroundColor(CColor color)
{
    if (store(foregroundColor, color))
        setDirty();
}
void C3DPlot::setFillColor3D(CColor color)
{
    if (store(fillColor, color))
        setDirty();
}
void C3DPlot::setBackgroundColor3D(CColor color)
{
    if (store(backgroundColor, color))
        setDirty();
}

void C3DPlot::setRotation(float yaw, float pitch, float distance_)
{
    if (!std::isfinite(yaw) || !std::isfinite(pitch) || !std::isfinite(distance_))
        return;
    cosYaw = std::cos(yaw);
    sinYaw = std::sin(yaw);
    cosPitch = std::cos(pitch);
    sinPitch = std::sin(pitch);
    distance = distance_;
    rotationChanged();
    setDirty();
}

void C3DPlot::rotationChanged() {}

CPoint C3DPlot::project(float x, float y, float z) const
{
    const CRect& r = getViewSize();
    const CPoint centre((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    const double m = std::min(r.getWidth(), r.getHeight()) / 2;
    const float rx = sinYaw * z + cosYaw * x;
    const float rz = cosYaw * z - sinYaw * x;
    const float ry = sinPitch * rz + cosPitch * y;
    const float depth = cosPitch * rz - sinPitch * y;
    // A point at or behind the viewer has no place on the screen; it is put
    // at the centre rather than at an infinite or mirrored position.
    if (!(depth + distance > 0))
        return centre;
    const double g = static_cast<double>(distance) / (static_cast<double>(depth) + distance);
    return CPoint(centre.x + std::trunc(g * rx * m), centre.y - std::trunc(g * ry * m));
}

void C3DPlot::draw(CDrawContext* context)
{
    if (!getTransparency()) {
        context->setFillColor(backgroundColor);
        context->drawRect(getViewSize(), kDrawFilled);
    }
    if (CBitmap* background = getBackground())
        background->draw(context, getViewSize(), CPoint(0, 0), 1.f);
    setDirty(false);
}
