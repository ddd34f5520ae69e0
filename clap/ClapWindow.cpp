#include "clap/ClapWindow.h"

#include "clap/ClapPlugin.h"
#include "product/VantelorDescription.h"

namespace vantelor_clap {

ClapWindow::ClapWindow(ClapPlugin& plugin, const clap_host_t* host)
    : CClapGuiEditor(host), plugin(plugin), window(this)
{}

ClapWindow::~ClapWindow()
{
    close();
}

bool ClapWindow::open()
{
    if (opened)
        return true;
    // The window reads the values as it opens.
    for (int32_t i = 0; i < kNumVantelorParameters; ++i)
        shown[i] = plugin.hostValue(i);
    if (!getParentWindow() || !window.openWindow(*this))
        return false;
    opened = true;
    attachToRunLoop();
    return true;
}

void ClapWindow::close()
{
    if (!opened)
        return;
    detachFromRunLoop();
    window.closeWindow(*this);
    opened = false;
}

void ClapWindow::size(uint32_t* width, uint32_t* height)
{
    pixelSize(CVantelorWindow::kWidth, CVantelorWindow::kHeight, width, height);
}

bool ClapWindow::setScale(double scale)
{
    return setHostScaleFactor(scale);
}

bool ClapWindow::show()
{
    return opened;
}

bool ClapWindow::hide()
{
    return opened;
}

void ClapWindow::idle()
{
    for (int32_t i = 0; i < kNumVantelorParameters; ++i) {
        const double units = plugin.hostValue(i);
        if (units != shown[i]) {
            shown[i] = units;
            window.showParameter(i, vantelor::toNormalised(i, static_cast<float>(units)));
        }
    }
    window.idleWindow();
    idleFrame();
}

float ClapWindow::currentValue(int32_t index)
{
    if (!vantelor::isParameter(index))
        return 0.0f;
    return vantelor::toNormalised(index, static_cast<float>(plugin.hostValue(index)));
}

void ClapWindow::beginChange(int32_t index)
{
    plugin.beginEdit(index);
}

void ClapWindow::change(int32_t index, float normalised)
{
    if (!vantelor::isParameter(index))
        return;
    plugin.edit(index, normalised);
    shown[index] = plugin.hostValue(index);
    // The plot shows its own edit at once; the host does not echo it.
    window.showParameter(index, normalised);
}

void ClapWindow::endChange(int32_t index)
{
    plugin.endEdit(index);
}

bool ClapWindow::getVersionLabel(char* text)
{
    return vantelor::formatVersionLabel(text);
}

} // namespace vantelor_clap
