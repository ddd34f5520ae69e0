#include "editor/PlotAxes.h"

#include "plugin/TextBounded.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"

#include <cmath>
#include <cstring>
#include <numbers>

using namespace VSTGUI;

namespace {

constexpr float kMinRange = 1e-8f;
// A grid with a step far too small for its range would take forever to
// draw and show nothing but a solid area; it is cut off here.
constexpr int kMaxTicks = 1024;
constexpr int kLabelChars = 8;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Nearest integer, halves away from zero.
double nearest(double v)
{
    return std::round(v);
}

// Into lo..hi; a NaN goes to lo, so nothing downstream sees one.
double clampCoord(double v, double lo, double hi)
{
    if (!(v >= lo))
        return lo;
    return v <= hi ? v : hi;
}

float clampUnit(float v)
{
    if (!(v >= 0.f))
        return 0.f;
    return v <= 1.f ? v : 1.f;
}

CColor withAlpha(CColor c, uint8_t alpha)
{
    c.alpha = alpha;
    return c;
}

// Grid and label colours fade out within 36 px of the crosshair.
CColor fadedNear(CColor c, double distance, bool fading)
{
    if (fading && distance < 36)
        c.alpha = static_cast<uint8_t>(c.alpha * distance / 36.0);
    return c;
}

// The value of the series origin + n * step that the tick loops start from:
// the first one strictly above floorValue, or with atOrBelow the last one
// not above it.
float firstTick(float origin, float step, float floorValue, bool atOrBelow)
{
    const float n = std::floor((floorValue - origin) / step);
    return origin + (atOrBelow ? n : n + 1.f) * step;
}

// Formats value for a tick label. A caller's format is used only when it
// takes exactly one floating-point argument; anything else could read
// arguments that are not there.
void formatLabel(char (&text)[kLabelChars + 1], float value, const char* format, const char* plain,
                 const char* thousands)
{
    if (format && isSingleFloatFormat(format))
        formatBounded(text, kLabelChars, format, static_cast<double>(value));
    else if (value >= 1000.f)
        formatBounded(text, kLabelChars, thousands, static_cast<double>(value / 1000.f));
    else
        formatBounded(text, kLabelChars, plain, static_cast<double>(value));
}

} // namespace

CPlotAxes::CPlotAxes(const CRect& size, CControlListener* listener, int32_t selectionTag_, CBitmap* background)
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
    invWidth = 1.f / static_cast<float>(std::max(size.getWidth() - 1, 1.0));
    invHeight = 1.f / static_cast<float>(std::max(size.getHeight() - 1, 1.0));
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

void CPlotAxes::recomputeInverses()
{
    invXRange = 1.f / std::max(xMax - xMin, kMinRange);
    invYRange = 1.f / std::max(yMax - yMin, kMinRange);
    invXMin = 1.f / std::max(xMin, kMinRange);
    invXMax = 1.f / std::max(xMax, kMinRange);
    logXRatio = std::log(std::max(xMax, kMinRange) / std::max(xMin, kMinRange));
    invLogXRatio = 1.f / std::max(logXRatio, kMinRange);
}

// ---- Setters ---------------------------------------------------------------

namespace {

template <typename T>
bool store(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

void CPlotAxes::setAxisColor(CColor color) { if (store(axisColor, color)) setDirty(); }
void CPlotAxes::setSelectedColor(CColor color) { if (store(selectedColor, color)) setDirty(); }
void CPlotAxes::setPointColor(CColor color) { if (store(pointColor, color)) setDirty(); }
void CPlotAxes::setShadeColor(CColor color) { if (store(shadeColor, color)) setDirty(); }
void CPlotAxes::setGridColor(CColor color) { if (store(gridColor, color)) setDirty(); }

namespace {

// Stores the two ends in order; false when nothing changed or an end is
// not a number one could plot.
bool storeRange(float& lo, float& hi, float a, float b)
{
    if (!std::isfinite(a) || !std::isfinite(b))
        return false;
    const bool loChanged = store(lo, std::min(a, b));
    const bool hiChanged = store(hi, std::max(a, b));
    return loChanged || hiChanged;
}

} // namespace

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

void CPlotAxes::setXGridStep(float step) { if (store(xGridStep, step)) setDirty(); }
void CPlotAxes::setXLabelOffset(float offset) { if (store(xLabelOffset, offset)) setDirty(); }
void CPlotAxes::setXGridOrigin(float origin) { if (store(xGridOrigin, origin)) setDirty(); }
void CPlotAxes::setShowXLabels(bool show) { if (store(showXLabels, show)) setDirty(); }
void CPlotAxes::setYGridStep(float step) { if (store(yGridStep, step)) setDirty(); }
void CPlotAxes::setYLabelOffset(float offset) { if (store(yLabelOffset, offset)) setDirty(); }
void CPlotAxes::setYGridOrigin(float origin) { if (store(yGridOrigin, origin)) setDirty(); }

void CPlotAxes::setShowYLabels(bool show, bool rightSide)
{
    const bool a = store(showYLabels, show);
    const bool b = store(yLabelsRight, rightSide);
    if (a || b)
        setDirty();
}

void CPlotAxes::setPlotMode(int32_t mode) { if (store(plotMode, mode)) setDirty(); }
void CPlotAxes::setDrawFrame(bool draw) { if (store(drawFrame, draw)) setDirty(); }
void CPlotAxes::setFineFactor(float factor) { fineFactor = factor; }
void CPlotAxes::setPointRadius(int8_t radius) { if (store(pointRadius, radius)) setDirty(); }
void CPlotAxes::setCrosshairEnabled(bool enabled) { crosshairEnabled = enabled; }
void CPlotAxes::setCrosshairFade(bool fade) { crosshairFade = fade; }

void CPlotAxes::addPointGroup(int32_t xTag_, int32_t yTag_, int32_t activeTag_, int32_t widthTag_, uint16_t flags)
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

void CPlotAxes::setGroupXTag(int index, int32_t tag) { if (validGroup(index)) xTag[index] = tag; }
void CPlotAxes::setGroupYTag(int index, int32_t tag) { if (validGroup(index)) yTag[index] = tag; }
void CPlotAxes::setGroupActiveTag(int index, int32_t tag) { if (validGroup(index)) activeTag[index] = tag; }
void CPlotAxes::setGroupWidthTag(int index, int32_t tag) { if (validGroup(index)) widthTag[index] = tag; }

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

int CPlotAxes::getSelectedGroup() const { return selectedGroup; }
float CPlotAxes::getGroupX(int index) const { return validGroup(index) ? xValue[index] : 0.f; }
float CPlotAxes::getGroupY(int index) const { return validGroup(index) ? yValue[index] : 0.f; }
float CPlotAxes::getGroupActive(int index) const { return validGroup(index) ? activeValue[index] : 0.f; }
float CPlotAxes::getGroupWidth(int index) const { return validGroup(index) ? widthValue[index] : 0.f; }
CPoint CPlotAxes::getGroupPoint(int index) const { return validGroup(index) ? groupPosition[index] : CPoint(0, 0); }

// ---- Mapping ---------------------------------------------------------------

CPoint CPlotAxes::valueToPixel(float x, float y) const
{
    const CRect& r = getViewSize();
    const double w1 = r.right - r.left - 1;
    const double h1 = r.bottom - r.top - 1;
    const double linearRow = nearest(r.top + h1 * static_cast<double>(yMax - y) * invYRange);
    CPoint p;
    switch (plotMode) {
    case kPlotLinear:
        p = CPoint(nearest(r.left + static_cast<double>(x - xMin) * w1 * invXRange), linearRow);
        break;
    case kPlotPolar: {
        const double angle = static_cast<double>((x - xMin) * invXRange) * kTwoPi;
        const double radius = static_cast<double>((y - yMin) * invYRange);
        p = CPoint(nearest((r.left + r.right) / 2 + std::cos(angle) * radius * w1 / 2),
                   nearest((r.top + r.bottom) / 2 - std::sin(angle) * radius * h1 / 2));
        break;
    }
    case kPlotLogX:
        p = CPoint(nearest(r.left + std::log(static_cast<double>(x * invXMin)) * invLogXRatio * w1), linearRow);
        break;
    default:
        return CPoint(0, 0);
    }
    clampToView(p);
    return p;
}

float CPlotAxes::pixelToXValue(const CPoint& p) const
{
    const CRect& r = getViewSize();
    switch (plotMode) {
    case kPlotPolar: {
        const double theta = std::atan2((r.top + r.bottom - 2 * p.y) * (r.right - r.left),
                                        (2 * p.x - (r.left + r.right)) * (r.bottom - r.top));
        return xMin + (xMax - xMin) * static_cast<float>(theta / kTwoPi);
    }
    case kPlotLogX:
        return xMin * std::exp(static_cast<float>(nearest(p.x - r.left)) * invWidth * logXRatio);
    default:
        return xMin + (xMax - xMin) * static_cast<float>(nearest(p.x - r.left)) * invWidth;
    }
}

float CPlotAxes::pixelToYValue(const CPoint& p) const
{
    const CRect& r = getViewSize();
    if (plotMode == kPlotPolar) {
        const float dx = static_cast<float>(p.x - (r.left + r.right) / 2) * invWidth;
        const float dy = static_cast<float>(p.y - (r.top + r.bottom) / 2) * invHeight;
        return yMin + 2 * (yMax - yMin) * std::sqrt(dx * dx + dy * dy);
    }
    return yMax + (yMax - yMin) * static_cast<float>(nearest(r.top - p.y)) * invHeight;
}

void CPlotAxes::clampToView(CPoint& p) const
{
    const CRect& r = getViewSize();
    p.x = clampCoord(p.x, r.left - 1, r.right + 1);
    p.y = clampCoord(p.y, r.top - 1, r.bottom + 1);
}

CPoint CPlotAxes::normalizedToPixel(float nx, float ny) const
{
    return valueToPixel(xMin + (xMax - xMin) * nx, yMin + (yMax - yMin) * ny);
}

// On a linear axis the value's round trip through axis units cancels out;
// taking the pixel's fraction directly keeps pixels that lie on simple
// fractions (the middle row, the edges) exactly on them.
float CPlotAxes::pixelToNormalizedX(const CPoint& p) const
{
    CPoint q = p;
    clampToView(q);
    if (plotMode == kPlotLinear) {
        const CRect& r = getViewSize();
        return static_cast<float>(nearest(q.x - r.left) / std::max(r.getWidth() - 1, 1.0));
    }
    return (pixelToXValue(q) - xMin) * invXRange;
}

float CPlotAxes::pixelToNormalizedY(const CPoint& p) const
{
    CPoint q = p;
    clampToView(q);
    if (plotMode != kPlotPolar) {
        const CRect& r = getViewSize();
        return static_cast<float>(1 + nearest(r.top - q.y) / std::max(r.getHeight() - 1, 1.0));
    }
    return (pixelToYValue(q) - yMin) * invYRange;
}

// ---- Mouse -----------------------------------------------------------------

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
        notify(selectionTag, selectedGroup >= 0 ? static_cast<float>(selectedGroup + 1) / groupCount : 0.f);
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
        if (std::abs(row - where.y) < 6)
            where.y = row;
    }
    if (plotMode != kPlotLogX) {
        if (flags & kGroupSnapX0) {
            const double column = valueToPixel(0.f, yMin).x;
            if (std::abs(column - where.x) < 6)
                where.x = column;
        }
        if (flags & kGroupSnapDiagonal) {
            const float vx = pixelToXValue(where);
            const float vy = pixelToYValue(where);
            CPoint q = valueToPixel(vx, vx);
            if (std::abs(q.y - where.y) < 12) {
                where = q;
            } else {
                q = valueToPixel(vy, vy);
                if (std::abs(q.x - where.x) < 12)
                    where = q;
            }
        }
    }

    CPoint p = where;
    if (buttons & kShift) {
        const double divisor = fineFactor != 0 ? fineFactor : 1;
        p = CPoint(dragAnchor.x + (where.x - dragAnchor.x) / divisor, dragAnchor.y + (where.y - dragAnchor.y) / divisor);
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

// ---- Drawing ---------------------------------------------------------------

void CPlotAxes::draw(CDrawContext* context)
{
    if (!getTransparency()) {
        context->setFillColor(shadeColor);
        context->drawRect(size_, kDrawFilled);
    }
    if (CBitmap* background = getBackground())
        background->draw(context, size_, CPoint(0, 0), 1.f);
    drawUnderlay(context);
    switch (plotMode) {
    case kPlotLinear:
        drawLinearGrid(context);
        break;
    case kPlotPolar:
        drawPolarGrid(context);
        break;
    case kPlotLogX:
        drawLogGrid(context);
        break;
    default:
        break;
    }
    if (crosshairVisible)
        drawCrosshair(context);
    drawPoints(context);
    setDirty(false);
}

void CPlotAxes::drawUnderlay(CDrawContext*) {}

void CPlotAxes::drawLinearGrid(CDrawContext* context)
{
    const CRect& r = getViewSize();
    const bool fading = crosshairVisible && crosshairFade;
    context->setDrawMode(kAliasing);
    context->setLineWidth(1);
    context->setFont(kNormalFont);
    if (xGridStep > 0) {
        context->setLineStyle(kLineOnOffDash);
        const float k = xLabelOffset;
        const float t0 = firstTick(xGridOrigin, xGridStep, xMin + k, false);
        for (int n = 0; n < kMaxTicks; ++n) {
            const float t = t0 + static_cast<float>(n) * xGridStep;
            if (!(t <= xMax + k))
                break;
            const double c = valueToPixel(t - k, yMin).x;
            const double d = std::abs(c - crosshair.x);
            context->setFrameColor(fadedNear(gridColor, d, fading));
            context->setFontColor(fadedNear(axisColor, d, fading));
            if (t - k != xMax)
                context->drawLine(CPoint(c, r.top), CPoint(c, r.bottom));
            if (showXLabels)
                drawXLabel(context, t);
        }
    }
    drawRowGrid(context);
    drawFrameRect(context);
}

void CPlotAxes::drawRowGrid(CDrawContext* context)
{
    if (!(yGridStep > 0))
        return;
    const CRect& r = getViewSize();
    const bool fading = crosshairVisible && crosshairFade;
    context->setLineStyle(kLineOnOffDash);
    const float k = yLabelOffset;
    const float t0 = firstTick(yGridOrigin, yGridStep, yMin + k, false);
    for (int n = 0; n < kMaxTicks; ++n) {
        const float t = t0 + static_cast<float>(n) * yGridStep;
        if (!(t < yMax + k))
            break;
        const double row = valueToPixel(xMin, t - k).y;
        const double d = std::abs(row - crosshair.y);
        context->setFrameColor(fadedNear(gridColor, d, fading));
        context->setFontColor(fadedNear(axisColor, d, fading));
        context->drawLine(CPoint(r.left, row), CPoint(r.right, row));
        if (showYLabels)
            drawYLabel(context, t);
    }
}

void CPlotAxes::drawFrameRect(CDrawContext* context)
{
    if (!drawFrame)
        return;
    context->setLineStyle(kLineSolid);
    context->setFrameColor(axisColor);
    context->drawRect(getViewSize(), kDrawStroked);
}

void CPlotAxes::drawPolarGrid(CDrawContext* context)
{
    const CRect& r = getViewSize();
    const float range = xMax - xMin;
    context->setDrawMode(kAntiAliasing);
    context->setLineWidth(1);
    context->setFont(kNormalFont);
    if (yGridStep > 0) {
        const float k = yLabelOffset;
        const float t0 = firstTick(yGridOrigin, yGridStep, yMin + k, false);
        for (int n = 0; n < kMaxTicks; ++n) {
            const float t = t0 + static_cast<float>(n) * yGridStep;
            if (!(t < yMax + k))
                break;
            const float radius = t - k;
            CRect ring(valueToPixel(xMin + range / 2, radius).x, valueToPixel(xMin + range / 4, radius).y,
                       valueToPixel(xMin, radius).x, valueToPixel(xMin + range * 3 / 4, radius).y);
            ring.offset(1, 1);
            context->setLineStyle(kLineOnOffDash);
            context->setFrameColor(gridColor);
            context->setFontColor(axisColor);
            context->drawEllipse(ring, kDrawStroked);
            if (showYLabels)
                drawYLabel(context, t);
        }
    }
    if (xGridStep > 0) {
        const float k = xLabelOffset;
        const float t0 = firstTick(xGridOrigin, xGridStep, xMin + k, true);
        const CPoint centre = r.getCenter();
        for (int n = 0; n < kMaxTicks; ++n) {
            const float t = t0 + static_cast<float>(n) * xGridStep;
            if (!(t < xMax + k))
                break;
            context->setLineStyle(kLineOnOffDash);
            context->setFrameColor(gridColor);
            context->setFontColor(axisColor);
            context->drawLine(centre, valueToPixel(t - k, yMax));
            if (showXLabels)
                drawXLabel(context, t);
        }
    }
    if (drawFrame) {
        context->setLineStyle(kLineSolid);
        context->setFrameColor(axisColor);
        context->drawEllipse(r, kDrawStroked);
    }
}

void CPlotAxes::drawLogGrid(CDrawContext* context)
{
    const CRect& r = getViewSize();
    const bool fading = crosshairVisible && crosshairFade;
    context->setDrawMode(kAliasing);
    context->setLineWidth(1);
    context->setFont(kNormalFont);
    if (xGridStep > 1 && xGridOrigin > 0 && xMin > 0) {
        // The first line is the first value of the series origin * step^n
        // above the left edge; the edge itself is the frame.
        const double n = std::ceil(std::log(static_cast<double>(xMin) / xGridOrigin) / std::log(xGridStep));
        double t = std::min(xGridOrigin * std::pow(static_cast<double>(xGridStep), n), static_cast<double>(xMax));
        if (!(t > xMin))
            t *= xGridStep;
        context->setLineStyle(kLineOnOffDash);
        for (int i = 0; i < kMaxTicks && t <= xMax; ++i, t *= xGridStep) {
            const float tick = static_cast<float>(t);
            const double c = valueToPixel(tick, yMin).x;
            const double d = std::abs(c - crosshair.x);
            context->setFrameColor(fadedNear(gridColor, d, fading));
            context->setFontColor(fadedNear(axisColor, d, fading));
            if (tick != xMax)
                context->drawLine(CPoint(c, r.top), CPoint(c, r.bottom));
            if (showXLabels)
                drawXLabel(context, tick);
        }
    }
    // The y grid and the frame are those of the linear plot.
    drawRowGrid(context);
    drawFrameRect(context);
}

void CPlotAxes::drawXLabel(CDrawContext* context, float value, const char* format)
{
    char text[kLabelChars + 1] = {};
    formatLabel(text, value, format, "%2.0f", "%2.1fk");
    const CRect& r = getViewSize();
    const double c = valueToPixel(value - xLabelOffset, yMin).x;
    if (r.left <= c - 26)
        context->drawString(text, CRect(c - 45, r.bottom - 11, c - 1, r.bottom - 2), kRightText, true);
    else
        context->drawString(text, CRect(c + 1, r.bottom - 11, c + 45, r.bottom - 2), kLeftText, true);
}

void CPlotAxes::drawYLabel(CDrawContext* context, float value, const char* format)
{
    char text[kLabelChars + 1] = {};
    formatLabel(text, value, format, "%+2.0f", "%+2.1fk");
    const CRect& r = getViewSize();
    const double row = valueToPixel(xMin, value - yLabelOffset).y;
    const double top = row - 10 >= r.top ? row - 10 : row + 2;
    const double bottom = row - 10 >= r.top ? row - 1 : row + 11;
    if (yLabelsRight)
        context->drawString(text, CRect(r.right - 40, top, r.right - 1, bottom), kRightText, true);
    else
        context->drawString(text, CRect(r.left + 2, top, r.left + 41, bottom), kLeftText, true);
}

void CPlotAxes::drawCrosshair(CDrawContext* context)
{
    const CRect& r = getViewSize();
    const double cx = crosshair.x;
    const double cy = crosshair.y;
    constexpr CColor kShadow{0, 0, 0, 36};
    constexpr CColor kClear{0, 0, 0, 0};

    // Soft shadows below the horizontal line and right of the vertical one.
    CGradient* gradient = CGradient::create(0, 1, kShadow, kClear);
    CGraphicsPath* below = context->createGraphicsPath();
    below->addRect(CRect(r.left, cy, r.right, cy + 20));
    context->fillLinearGradient(below, *gradient, CPoint(cx, cy), CPoint(cx, cy + 20));
    below->forget();
    CGraphicsPath* right = context->createGraphicsPath();
    right->addRect(CRect(cx, r.top, cx + 20, r.bottom));
    context->fillLinearGradient(right, *gradient, CPoint(cx, cy), CPoint(cx + 20, cy));
    right->forget();
    gradient->forget();

    context->setFontColor(selectedColor);
    context->setFrameColor(axisColor);
    context->setDrawMode(kAliasing);
    context->setLineWidth(1);
    context->setLineStyle(kLineOnOffDash);
    context->setFont(kNormalFont);
    context->drawLine(CPoint(r.left, cy), CPoint(r.right, cy));
    context->drawLine(CPoint(cx, r.bottom), CPoint(cx, r.top));
    drawXLabel(context, pixelToXValue(crosshair) + xLabelOffset, "%2.1f");
    drawYLabel(context, pixelToYValue(crosshair) + yLabelOffset, "%+2.1f");
}

void CPlotAxes::drawPoints(CDrawContext* context)
{
    if (groupCount == 0)
        return;
    context->setDrawMode(kAntiAliasing);
    context->setLineWidth(2);
    context->setLineStyle(kLineSolid);
    context->setFont(kNormalFont);
    const double radius = pointRadius;
    for (int i = 0; i < groupCount; ++i) {
        if (!(groupFlags[i] & kGroupVisible))
            continue;
        const CPoint& g = groupPosition[i];
        const CRect circle(g.x - radius, g.y - radius, g.x + radius, g.y + radius);
        context->setFillColor(CColor{0, 0, 0, 40});
        context->setFrameColor(CColor{0, 0, 0, 10});
        context->drawEllipse(CRect(circle.left, circle.top, circle.right + 3, circle.bottom + 3), kDrawFilledAndStroked);

        const bool selected = i == selectedGroup;
        const CColor own = groupColor[i];
        const CColor dim{static_cast<uint8_t>(own.red / 2), static_cast<uint8_t>(own.green / 2),
                         static_cast<uint8_t>(own.blue / 2), own.alpha};
        CColor textColor;
        if (activeValue[i] > 0.5f) {
            context->setFillColor(selected ? own : dim);
            context->setFrameColor(shadeColor);
            textColor = withAlpha(shadeColor, 255);
        } else {
            context->setFillColor(shadeColor);
            context->setFrameColor(selected ? own : dim);
            textColor = selected ? own : dim;
        }
        context->drawEllipse(circle, kDrawFilledAndStroked);
        if (groupFlags[i] & kGroupNumbered) {
            char number[kLabelChars + 1] = {};
            formatBounded(number, kLabelChars, "%d", i + 1);
            context->setFontColor(textColor);
            CRect box = circle;
            box.offset(0, 1);
            context->drawString(number, box, kCenterText, true);
        }
    }
}
