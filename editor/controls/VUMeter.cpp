#include "editor/controls/VUMeter.h"

#include "editor/controls/PlotAxesShared.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"

#include <cmath>
#include <cstring>

using namespace VSTGUI;
using namespace plot_axes;

namespace {

// A meter starts just inside its range rather than on its edge, so the
// first level it shows is drawn as a level and not as an empty meter.
constexpr float kStartOffset = 1e-8f;
constexpr uint8_t kZoneAlpha = 96;
// Scale lines within this many pixels of the peak line fade, so that the
// readout stays legible.
constexpr double kFadeReach = 25;
constexpr double kFadeSpan = 36;

} // namespace

CVUMeter::CVUMeter(const CRect& size, float yMin_, float yMax_, CBitmap* background,
                   int8_t zoneCount_)
    : CPlotAxes(size, nullptr, -1, background), zoneCount(zoneCount_ > 0 ? zoneCount_ : 0)
{
    setXGridStep(0);
    setYGridStep(10);
    setShowYLabels(true, true);
    setShowXLabels(false);
    setDrawFrame(false);
    setYRange(yMin_, yMax_);
    setTransparency(true);
    zoneColors.assign(static_cast<size_t>(zoneCount), selectedColor);
    zoneLimits.assign(static_cast<size_t>(zoneCount), 160.f);
    level = startLevel();
    peak = startPeak();
}

CVUMeter::CVUMeter(const CVUMeter& other) = default;
CVUMeter::~CVUMeter() = default;

bool CVUMeter::isTypeOf(const char* type) const
{
    return (type && std::strcmp(type, "CVUMeter") == 0) || CPlotAxes::isTypeOf(type);
}

float CVUMeter::startLevel() const
{
    return inverted ? yMax - kStartOffset : yMin + kStartOffset;
}
float CVUMeter::startPeak() const
{
    return inverted ? upperClamp : lowerClamp;
}

void CVUMeter::resetLevel()
{
    level = startLevel();
    peak = startPeak();
    setDirty();
}

void CVUMeter::setValue(float val)
{
    if (std::isnan(val))
        return;
    const float x = std::clamp(val, lowerClamp, upperClamp);
    if (x == level)
        return;
    level = x;
    peak = inverted ? std::min(peak, x) : std::max(peak, x);
    setDirty();
}

void CVUMeter::setInverted(bool inverted_)
{
    if (!store(inverted, inverted_))
        return;
    resetLevel();
}

void CVUMeter::setZoneColor(CColor color, int index)
{
    if (index < 0 || index >= zoneCount)
        return;
    if (store(zoneColors[static_cast<size_t>(index)], color))
        setDirty();
}

void CVUMeter::setZoneLimit(float limit, int index)
{
    if (index < 0 || index >= zoneCount)
        return;
    if (store(zoneLimits[static_cast<size_t>(index)], limit))
        setDirty();
}

void CVUMeter::setLowerClamp(float clamp)
{
    if (store(lowerClamp, clamp))
        resetLevel();
}

void CVUMeter::setUpperClamp(float clamp)
{
    if (store(upperClamp, clamp))
        resetLevel();
}

void CVUMeter::setPeakHold(bool hold)
{
    if (!store(peakHold, hold))
        return;
    setMouseEnabled(hold);
    resetLevel();
}

float CVUMeter::getPeakLevel() const
{
    return peakHold ? peak : 0.f;
}

void CVUMeter::setPeakLevel(float peak_)
{
    if (store(peak, peak_))
        setDirty();
}

double CVUMeter::levelToRow(float value) const
{
    const CRect& r = getViewSize();
    return nearest(r.top + (r.bottom - r.top - 1) * static_cast<double>(yMax - value) * invYRange);
}

int8_t CVUMeter::zoneIndex(float value) const
{
    int8_t n = 0;
    for (int i = 0; i < zoneCount; ++i)
        if (zoneLimits[static_cast<size_t>(i)] < value)
            ++n;
    return n;
}

CColor CVUMeter::zoneColor(int index) const
{
    if (zoneCount == 0)
        return selectedColor;
    return zoneColors[static_cast<size_t>(std::clamp(index, 0, zoneCount - 1))];
}

CMouseEventResult CVUMeter::onMouseDown(CPoint&, const CButtonState&)
{
    resetLevel();
    return kMouseEventHandled;
}

// ---- Drawing -----------------------------------------------------------------

void CVUMeter::draw(CDrawContext* context)
{
    const CRect& r = getViewSize();
    drawBackground(context);
    if (drawFrame) {
        context->setDrawMode(kAliasing);
        context->setFrameColor(axisColor);
        context->drawRect(r, kDrawStroked);
    }
    const double peakRow = std::clamp(levelToRow(peak), r.top, r.bottom - 1);
    const double startRow = std::min(levelToRow(level), r.bottom - 1);
    drawScale(context, peakRow);
    drawBar(context, startRow);
    if (peakHold)
        drawPeak(context, peakRow);
    setDirty(false);
}

void CVUMeter::drawScale(CDrawContext* context, double peakRow)
{
    if (!(yGridStep > 0))
        return;
    const CRect& r = getViewSize();
    context->setDrawMode(kAliasing);
    context->setLineWidth(1);
    context->setLineStyle(kLineSolid);
    context->setFont(kNormalFont);
    const float k = yLabelOffset;
    const float t0 = firstTick(yGridOrigin, yGridStep, yMin + k, false);
    for (int n = 0; n < kMaxTicks; ++n) {
        const float t = t0 + static_cast<float>(n) * yGridStep;
        if (!(t <= yMax + k))
            break;
        const double row = levelToRow(t - k);
        CColor color = axisColor;
        const double d = std::abs(row - peakRow - (inverted ? 9 : 0));
        if (peakHold && d <= kFadeReach)
            color.alpha = static_cast<uint8_t>(std::trunc(255 * d / kFadeSpan));
        context->setFrameColor(color);
        context->setFontColor(color);
        context->drawLine(CPoint(r.left, row), CPoint(r.right, row));
        if (showYLabels) {
            char text[kLabelChars + 1] = {};
            formatBounded(text, kLabelChars, "%+2.1f", static_cast<double>(t));
            context->drawString(text, CRect(r.left, row - 10, r.right, row - 1), kRightText, true);
        }
    }
}

void CVUMeter::drawBar(CDrawContext* context, double startRow)
{
    const CRect& r = getViewSize();
    context->setDrawMode(kAliasing);
    if (!inverted) {
        // Zone by zone from the bottom up to the level.
        const float top = std::min(yMax, level);
        float current = yMin;
        double lower = r.bottom;
        for (int z = zoneIndex(yMin); current < top && z < zoneCount; ++z) {
            const float upperValue = std::min(zoneLimits[static_cast<size_t>(z)], top);
            const double upper = levelToRow(upperValue);
            context->setFillColor(withAlpha(zoneColor(z), kZoneAlpha));
            context->drawRect(CRect(r.left, upper, r.right, lower), kDrawFilled);
            lower = upper;
            current = upperValue;
        }
    } else {
        // Zone by zone from the level up to the top of the scale.
        float current = level;
        double lower = startRow;
        for (int z = zoneIndex(level); current < yMax && z < zoneCount; ++z) {
            const float upperValue =
                std::max(std::min(zoneLimits[static_cast<size_t>(z)], yMax), yMin);
            const double upper = levelToRow(upperValue);
            context->setFillColor(withAlpha(zoneColor(z), kZoneAlpha));
            context->drawRect(CRect(r.left, upper, r.right, lower), kDrawFilled);
            lower = upper;
            current = upperValue;
        }
    }
}

void CVUMeter::drawPeak(CDrawContext* context, double peakRow)
{
    const CRect& r = getViewSize();
    const CColor color = zoneColor(zoneIndex(peak));
    context->setFrameColor(color);
    context->setFontColor(color);
    context->setDrawMode(kAliasing);
    context->setLineWidth(1);
    context->setLineStyle(kLineSolid);
    context->setFont(kNormalFont);
    context->drawLine(CPoint(r.left, peakRow), CPoint(r.right - 1, peakRow));
    if (!showYLabels)
        return;
    char text[kLabelChars + 1] = {};
    formatBounded(text, kLabelChars, "%+2.1f", static_cast<double>(yLabelOffset + peak));
    const bool above = inverted ? peakRow > r.bottom - 10 : peakRow >= r.top + 10;
    const CRect box = above ? CRect(r.left, peakRow - 10, r.right, peakRow - 1)
                            : CRect(r.left, peakRow + 2, r.right, peakRow + 11);
    context->drawString(text, box, kRightText, true);
}

// ---- Drag meter ----------------------------------------------------------------

CVUDragMeter::CVUDragMeter(const CRect& size, float yMin_, float yMax_, CBitmap* background,
                           int8_t zoneCount_, CControlListener* listener, int32_t tag)
    : CVUMeter(size, yMin_, yMax_, background, zoneCount_),
      baseMin(std::min(yMin_, yMax_)),
      baseMax(std::max(yMin_, yMax_))
{
    setListener(listener);
    setTag(tag);
    // Dragging the scale needs the mouse whether or not the peak is held.
    setMouseEnabled(true);
    CControl::setValue(0.f);
    level = 0;
}

bool CVUDragMeter::isTypeOf(const char* type) const
{
    return (type && std::strcmp(type, "CVUDragMeter") == 0) || CVUMeter::isTypeOf(type);
}

float CVUDragMeter::getValue() const
{
    return offset;
}

void CVUDragMeter::setRawLevel(float value)
{
    level = value;
    setDirty();
}

void CVUDragMeter::setOffset(float offset_)
{
    if (std::isnan(offset_) || !store(offset, offset_))
        return;
    CControl::setValue(offset);
    applyOffset();
}

void CVUDragMeter::setDragRange(float range)
{
    if (!std::isfinite(range))
        return;
    dragRange = range;
    applyOffset();
}

void CVUDragMeter::applyOffset()
{
    setYRange(baseMin + offset * dragRange, baseMax + offset * dragRange);
}

void CVUDragMeter::notifyOffset()
{
    beginEdit();
    valueChanged();
    endEdit();
}

CMouseEventResult CVUDragMeter::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    dragPoint = where;
    resetLevel();
    if ((buttons & kControl) && getListener()) {
        setOffset(getDefaultValue());
        notifyOffset();
    }
    return kMouseEventHandled;
}

CMouseEventResult CVUDragMeter::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!(buttons & kLButton) || !getListener() || dragPoint == CPoint(-1, -1))
        return kMouseEventHandled;
    const double dy = where.y - dragPoint.y;
    dragPoint = where;
    double height = std::max(getHeight(), 1.0);
    if ((buttons & kShift) && fineFactor > 0)
        height *= fineFactor;
    setOffset(std::clamp(offset + static_cast<float>(dy / height), 0.f, 1.f));
    notifyOffset();
    if (frame_)
        frame_->doIdleStuff();
    return kMouseEventHandled;
}

CMouseEventResult CVUDragMeter::onMouseUp(CPoint&, const CButtonState&)
{
    dragPoint = CPoint(-1, -1);
    return kMouseEventHandled;
}

bool CVUDragMeter::onWheel(const CPoint&, const float& distance, const CButtonState& buttons)
{
    if (!getListener())
        return true;
    float step = kWheelIncrement * distance;
    if ((buttons & kShift) && fineFactor > 0)
        step /= fineFactor;
    setOffset(std::clamp(offset + step, 0.f, 1.f));
    notifyOffset();
    return true;
}
