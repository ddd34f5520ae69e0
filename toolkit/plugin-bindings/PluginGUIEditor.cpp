#include "toolkit/plugin-bindings/PluginGUIEditor.h"

#include "toolkit/ScaleFactor.h"

#include <chrono>
#include <cmath>

CPluginGUIEditor::~CPluginGUIEditor()
{
    if (frame) {
        frame->close();
        frame = nullptr;
    }
}

void CPluginGUIEditor::setParentWindow(void* parent)
{
    parentWindow = parent;
    // The parent's display may differ from the one asked before; an
    // off-screen window has no display and draws at 1 unless asked.
    if (hostScaleFactor == 0)
        displayScaleFactor = parent ? VSTGUI::getPlatformScaleFactor(parent) : 1.0;
}

bool CPluginGUIEditor::openFrame(const VSTGUI::CRect& size)
{
    auto* newFrame = new VSTGUI::CFrame(size, this);
    newFrame->setZoom(getScaleFactor());
    if (!newFrame->open(parentWindow)) {
        newFrame->forget();
        parentWindow = nullptr;
        return false;
    }
    frame = newFrame;
    return true;
}

void CPluginGUIEditor::closeFrame()
{
    if (frame) {
        frame->close();
        frame = nullptr;
    }
    parentWindow = nullptr;
}

void CPluginGUIEditor::idleFrame()
{
    if (inIdleStuff)
        return;
    inIdleStuff = true;
    if (frame)
        frame->idle();
    inIdleStuff = false;
}

bool CPluginGUIEditor::setHostScaleFactor(double factor)
{
    // A factor that is no number or not above 0 is no request at all.
    if (!std::isfinite(factor) || factor <= 0)
        return false;
    hostScaleFactor = VSTGUI::clampScaleFactor(factor);
    if (frame)
        frame->setZoom(hostScaleFactor);
    return true;
}

double CPluginGUIEditor::getScaleFactor()
{
    if (frame)
        return frame->getZoom();
    if (hostScaleFactor > 0)
        return hostScaleFactor;
    if (displayScaleFactor == 0)
        displayScaleFactor = VSTGUI::getPlatformScaleFactor(parentWindow);
    return displayScaleFactor;
}

int CPluginGUIEditor::scaledPixels(double units)
{
    return VSTGUI::scaledPixels(units, getScaleFactor());
}

bool CPluginGUIEditor::isWindowVisible() const
{
    return parentWindow && frame && frame->isWindowVisible();
}

uint32_t CPluginGUIEditor::getTicks()
{
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void CPluginGUIEditor::doIdleStuff()
{
    // Never blocks: a call that comes too soon after the last one is
    // simply skipped.
    if (inIdleStuff)
        return;
    const uint32_t now = getTicks();
    if (now - lastTicks < kIdleRateMs)
        return;
    lastTicks = now;
    inIdleStuff = true;
    if (frame)
        frame->idle();
    hostIdle();
    inIdleStuff = false;
}
