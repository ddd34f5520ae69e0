#include "editor/controls/PlotAxes.h"

#include "editor/controls/PlotAxesShared.h"
#include "toolkit/CBitmap.h"

#include <cstring>

using namespace VSTGUI;
using namespace plot_axes;

CPlotAxes::CPlotAxes(const CRect& size, CControlListener* listener, int32_t selectionTag_,
                     CBitmap* background)
    : CControl(size, listener, 0, background), selectionTag(selectionTag_)
{
#if defined(__GNUC__) && !defined(__clang__)
    // g++ 12 at -O3 takes the merged four-byte store of a colour for an
    // overflow of its first one-byte channel (a false -Wstringop-overflow).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#endif
    groupColor.fill(selectedColor);
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
    recomputePixelInverses();
    recomputeInverses();
    setWheelInc(kWheelIncrement);
    setTransparency(true);
    setMouseEnabled(false);
}

CPlotAxes::CPlotAxes(const CPlotAxes& other) = default;

CPlotAxes::~CPlotAxes() = default;

bool CPlotAxes::isTypeOf(const char* type) const
{
    return (type && std::strcmp(type, "CPlotAxes") == 0) || CControl::isTypeOf(type);
}

void CPlotAxes::recomputePixelInverses()
{
    const CRect& r = getViewSize();
    invWidth = 1.f / static_cast<float>(std::max(r.getWidth() - 1, 1.0));
    invHeight = 1.f / static_cast<float>(std::max(r.getHeight() - 1, 1.0));
}

void CPlotAxes::setViewSize(const CRect& rect, bool invalidate)
{
    CControl::setViewSize(rect, invalidate);
    recomputePixelInverses();
}

void CPlotAxes::recomputeInverses()
{
    invXRange = 1.f / std::max(xMax - xMin, kMinRange);
    invYRange = 1.f / std::max(yMax - yMin, kMinRange);
    invXMin = 1.f / std::max(xMin, kMinRange);
    invXMax = 1.f / std::max(xMax, kMinRange);
    logXRatio = std::log(std::max(xMax, kMinRange) / std::max(xMin, kMinRange));
    invLogXRatio = 1.f / std::max(logXRatio, kMinRange);
}

void CPlotAxes::setAxisColor(CColor color)
{
    if (store(axisColor, color))
        setDirty();
}
void CPlotAxes::setSelectedColor(CColor color)
{
    if (store(selectedColor, color))
        setDirty();
}
void CPlotAxes::setPointColor(CColor color)
{
    if (store(pointColor, color))
        setDirty();
}
void CPlotAxes::setShadeColor(CColor color)
{
    if (store(shadeColor, color))
        setDirty();
}
void CPlotAxes::setGridColor(CColor color)
{
    if (store(gridColor, color))
        setDirty();
}

void CPlotAxes::setXRange(float a, float b)
{
    if (!storeRange(xMin, xMax, a, b))
        return;
    recomputeInverses();
    setDirty();
}

void CPlotAxes::setYRange(float a, float b)
{
    if (!storeRange(yMin, yMax, a, b))
        return;
    recomputeInverses();
    setDirty();
}

void CPlotAxes::setXGridStep(float step)
{
    if (store(xGridStep, step))
        setDirty();
}
void CPlotAxes::setXLabelOffset(float offset)
{
    if (store(xLabelOffset, offset))
        setDirty();
}
void CPlotAxes::setXGridOrigin(float origin)
{
    if (store(xGridOrigin, origin))
        setDirty();
}
void CPlotAxes::setShowXLabels(bool show)
{
    if (store(showXLabels, show))
        setDirty();
}
void CPlotAxes::setYGridStep(float step)
{
    if (store(yGridStep, step))
        setDirty();
}
void CPlotAxes::setYLabelOffset(float offset)
{
    if (store(yLabelOffset, offset))
        setDirty();
}
void CPlotAxes::setYGridOrigin(float origin)
{
    if (store(yGridOrigin, origin))
        setDirty();
}

void CPlotAxes::setShowYLabels(bool show, bool rightSide)
{
    const bool a = store(showYLabels, show);
    const bool b = store(yLabelsRight, rightSide);
    if (a || b)
        setDirty();
}

void CPlotAxes::setPlotMode(int32_t mode)
{
    if (store(plotMode, mode))
        setDirty();
}
void CPlotAxes::setDrawFrame(bool draw)
{
    if (store(drawFrame, draw))
        setDirty();
}
void CPlotAxes::setFineFactor(float factor)
{
    fineFactor = factor;
}
void CPlotAxes::setPointRadius(int8_t radius)
{
    if (store(pointRadius, radius))
        setDirty();
}
void CPlotAxes::setCrosshairEnabled(bool enabled)
{
    crosshairEnabled = enabled;
}
void CPlotAxes::setCrosshairFade(bool fade)
{
    crosshairFade = fade;
}

void CPlotAxes::addPointGroup(int32_t xTag_, int32_t yTag_, int32_t activeTag_, int32_t widthTag_,
                              uint16_t flags)
{
    if (groupCount >= kMaxGroups)
        return;
    const int i = groupCount;
    xTag[i] = xTag_;
    yTag[i] = yTag_;
    activeTag[i] = activeTag_;
    widthTag[i] = widthTag_;
    groupFlags[i] = flags;
    ++groupCount;
    // Centred, on and half wide until the real values arrive. Set here
    // rather than by tag, so that a group without some of the tags still
    // starts that way, and an earlier group sharing a tag keeps its value.
    xValue[i] = 0.5f;
    yValue[i] = 0.5f;
    activeValue[i] = 1.0f;
    widthValue[i] = 0.5f;
    groupPosition[i] = normalizedToPixel(0.5f, 0.5f);
    selectedGroup = static_cast<int8_t>(i);
    setMouseEnabled(true);
    setDirty();
}

void CPlotAxes::setGroupXTag(int index, int32_t tag)
{
    if (validGroup(index))
        xTag[index] = tag;
}
void CPlotAxes::setGroupYTag(int index, int32_t tag)
{
    if (validGroup(index))
        yTag[index] = tag;
}
void CPlotAxes::setGroupActiveTag(int index, int32_t tag)
{
    if (validGroup(index))
        activeTag[index] = tag;
}
void CPlotAxes::setGroupWidthTag(int index, int32_t tag)
{
    if (validGroup(index))
        widthTag[index] = tag;
}

void CPlotAxes::setGroupColor(int index, CColor color)
{
    if (!validGroup(index))
        return;
    groupColor[index] = color;
    setDirty();
}

bool CPlotAxes::setParameterValue(int32_t tag, float value)
{
    // Negative tags mark what is not bound; they never name anything.
    if (tag < 0)
        return false;
    if (groupCount > 0 && tag == selectionTag) {
        // A value outside 0..1 still names an existing group or none.
        const float scaled = std::min(std::max(static_cast<float>(groupCount) * value + 0.5f, 0.f),
                                      static_cast<float>(groupCount));
        selectedGroup = static_cast<int8_t>(static_cast<int>(scaled) - 1);
        setDirty();
        return true;
    }
    for (int i = 0; i < groupCount; ++i) {
        if (tag == xTag[i]) {
            xValue[i] = value;
            groupPosition[i] = normalizedToPixel(value, yValue[i]);
        } else if (tag == yTag[i]) {
            yValue[i] = value;
            groupPosition[i] = normalizedToPixel(xValue[i], value);
        } else if (tag == widthTag[i]) {
            widthValue[i] = value;
        } else if (tag == activeTag[i]) {
            activeValue[i] = value;
        } else {
            continue;
        }
        selectedGroup = static_cast<int8_t>(i);
        setDirty();
        return true;
    }
    return false;
}

void CPlotAxes::setSelectedGroup(int index)
{
    if (index >= groupCount)
        return;
    const int8_t wanted = static_cast<int8_t>(index < 0 ? -1 : index);
    if (store(selectedGroup, wanted))
        setDirty();
}

int CPlotAxes::getSelectedGroup() const
{
    return selectedGroup;
}
float CPlotAxes::getGroupX(int index) const
{
    return validGroup(index) ? xValue[index] : 0.f;
}
float CPlotAxes::getGroupY(int index) const
{
    return validGroup(index) ? yValue[index] : 0.f;
}
float CPlotAxes::getGroupActive(int index) const
{
    return validGroup(index) ? activeValue[index] : 0.f;
}
float CPlotAxes::getGroupWidth(int index) const
{
    return validGroup(index) ? widthValue[index] : 0.f;
}
CPoint CPlotAxes::getGroupPoint(int index) const
{
    return validGroup(index) ? groupPosition[index] : CPoint(0, 0);
}
