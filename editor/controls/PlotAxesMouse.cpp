// Mouse editing: hits, drags with snapping and fine mode, the wheel, the
// crosshair that follows the pointer, and the edit notifications.
#include "editor/controls/PlotAxes.h"

#include "editor/controls/PlotAxesShared.h"
#include "toolkit/CFrame.h"

#include <cmath>

using namespace VSTGUI;
using namespace plot_axes;

void CPlotAxes::notify(int32_t tag, float value)
{
    if (tag < 0)
        return;
    setTag(tag);
    setValue(value);
    beginEdit();
    valueChanged();
    endEdit();
}

void CPlotAxes::updateCrosshair(const CPoint& where)
{
    if (!crosshairEnabled || where == crosshair)
        return;
    crosshairVisible = true;
    crosshair = where;
    clampToView(crosshair);
    setDirty();
}

CMouseEventResult CPlotAxes::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    updateCrosshair(where);
    if (!getListener() || groupCount == 0)
        return kMouseEventNotHandled;
    lastMousePosition = where;
    dragAnchor = where;
    const int8_t previous = selectedGroup;
    for (int i = 0; i < groupCount; ++i) {
        const CPoint& g = groupPosition[i];
        if (std::max(std::abs(where.x - g.x), std::abs(where.y - g.y)) > pointRadius) {
            selectedGroup = -1;
            continue;
        }
        selectedGroup = static_cast<int8_t>(i);
        crosshair = g;
        where = g;
        if (activeTag[i] >= 0) {
            const float active = (buttons & kLButton) ? 1.f : 0.f;
            if (active != activeValue[i]) {
                activeValue[i] = active;
                notify(activeTag[i], active);
                setDirty();
            }
        }
        break;
    }
    if (selectedGroup != previous && selectionTag >= 0) {
        notify(selectionTag,
               selectedGroup >= 0 ? static_cast<float>(selectedGroup + 1) / groupCount : 0.f);
        setDirty();
    }
    if (selectedGroup != previous)
        setDirty();
    return selectedGroup >= 0 ? kMouseEventHandled : kMouseEventNotHandled;
}

CMouseEventResult CPlotAxes::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    updateCrosshair(where);
    if (!getListener() || !(buttons & (kLButton | kRButton)) || !validGroup(selectedGroup))
        return kMouseEventNotHandled;
    const int i = selectedGroup;
    const uint16_t flags = groupFlags[i];

    if (flags & kGroupSnapY0) {
        const double row = valueToPixel(xMin, 0.f).y;
        if (std::abs(row - where.y) < kAxisSnap)
            where.y = row;
    }
    if (plotMode != kPlotLogX) {
        if (flags & kGroupSnapX0) {
            const double column = valueToPixel(0.f, yMin).x;
            if (std::abs(column - where.x) < kAxisSnap)
                where.x = column;
        }
        if (flags & kGroupSnapDiagonal) {
            const float vx = pixelToXValue(where);
            const float vy = pixelToYValue(where);
            CPoint q = valueToPixel(vx, vx);
            if (std::abs(q.y - where.y) < kDiagonalSnap) {
                where = q;
            } else {
                q = valueToPixel(vy, vy);
                if (std::abs(q.x - where.x) < kDiagonalSnap)
                    where = q;
            }
        }
    }

    CPoint p = where;
    if (buttons & kShift) {
        const double divisor = fineFactor != 0 ? fineFactor : 1;
        p = CPoint(dragAnchor.x + (where.x - dragAnchor.x) / divisor,
                   dragAnchor.y + (where.y - dragAnchor.y) / divisor);
    } else {
        dragAnchor = where;
    }
    // A held Control keeps the column and Alt the row: that axis's value is
    // then left exactly as it is, not re-read from its pixel.
    const bool xLocked = (buttons & kControl) != 0;
    const bool yLocked = (buttons & kAlt) != 0;
    if (xLocked)
        p.x = groupPosition[i].x;
    if (yLocked)
        p.y = groupPosition[i].y;
    clampToView(p);

    if (crosshairEnabled) {
        crosshair = p;
        crosshairVisible = true;
    }

    if ((xTag[i] >= 0 || yTag[i] >= 0) && !(where == lastMousePosition)) {
        float v;
        if (flags & kGroupDiagonal) {
            lastMousePosition = where;
            v = clampUnit(pixelToNormalizedX(p));
            groupPosition[i] = normalizedToPixel(v, v);
            if (v != xValue[i]) {
                xValue[i] = v;
                notify(xTag[i], v);
            }
        } else {
            lastMousePosition.x = where.x;
            if (!xLocked) {
                groupPosition[i].x = p.x;
                v = clampUnit(pixelToNormalizedX(p));
                if (v != xValue[i]) {
                    xValue[i] = v;
                    notify(xTag[i], v);
                }
            }
            lastMousePosition.y = where.y;
            if (!yLocked)
                groupPosition[i].y = p.y;
            v = yLocked ? yValue[i] : clampUnit(pixelToNormalizedY(p));
        }
        if (v != yValue[i]) {
            yValue[i] = v;
            notify(yTag[i], v);
        }
    }
    setDirty();
    if (frame_)
        frame_->doIdleStuff();
    return kMouseEventHandled;
}

CMouseEventResult CPlotAxes::onMouseUp(CPoint& where, const CButtonState&)
{
    updateCrosshair(where);
    if (!getListener() || groupCount == 0)
        return kMouseEventNotHandled;
    lastMousePosition = CPoint(-1, -1);
    dragAnchor = CPoint(-1, -1);
    return kMouseEventHandled;
}

CMouseEventResult CPlotAxes::onMouseEntered(CPoint& where, const CButtonState&)
{
    if (crosshairEnabled && !crosshairVisible) {
        crosshairVisible = true;
        crosshair = where;
        clampToView(crosshair);
        setDirty();
    }
    return kMouseEventNotImplemented;
}

CMouseEventResult CPlotAxes::onMouseExited(CPoint&, const CButtonState&)
{
    if (crosshairVisible) {
        crosshairVisible = false;
        crosshair = CPoint(-1, -1);
        setDirty();
    }
    return kMouseEventNotImplemented;
}

bool CPlotAxes::onWheel(const CPoint&, const float& distance, const CButtonState& buttons)
{
    if (!validGroup(selectedGroup) || !getListener())
        return false;
    const int32_t tag = widthTag[selectedGroup];
    if (tag < 0)
        return true;
    float step = getWheelInc() * distance;
    if ((buttons & kShift) && fineFactor != 0)
        step /= fineFactor;
    setValue(widthValue[selectedGroup] + step);
    bounceValue();
    notify(tag, getValue());
    return true;
}
