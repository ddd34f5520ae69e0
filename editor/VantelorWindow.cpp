#include "editor/VantelorWindow.h"

#include "editor/URLButton.h"
#include "editor/VantelorPlot.h"
#include "product/EditorConnection.h"
#include "product/VantelorDescription.h"
#include "resources/VantelorResources.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CFrame.h"
#include "toolkit/CTextLabel.h"
#include "toolkit/platform/Shell.h"
#include "toolkit/plugin-bindings/PluginGUIEditor.h"

#include <cstdio>
#include <filesystem>

using namespace VSTGUI;

namespace {

constexpr CColor kLabelColor{200, 200, 200, 255};
// The stage of the background picture, between the loudspeakers' frame.
constexpr CRect kPlotRect(27, 21, 392, 234);

std::string fileURL(const std::string& path)
{
    static const char* hex = "0123456789ABCDEF";
    // The address's path starts with a slash, also before a Windows drive.
    std::string url = path.empty() || path[0] != '/' ? "file:///" : "file://";
    for (unsigned char c : path) {
        // The colon stays plain for a Windows drive ("file:///C:/...").
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '/' || c == '-' || c == '_' || c == '.' ||
                           c == '~' || c == ':';
        if (plain) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    return url;
}

} // namespace

CVantelorWindow::CVantelorWindow(IEditorConnection* connection) : connection(connection)
{
    registerVantelorResources();
}

CVantelorWindow::~CVantelorWindow() = default;

std::vector<std::string> CVantelorWindow::guideFolders()
{
    std::vector<std::string> folders;
    std::string dir = getModuleDirectory();
    if (!dir.empty())
        folders.push_back(std::move(dir));
#ifdef VANTELOR_SYSTEM_GUIDE_DIR
    // Where the Linux package puts the documentation, away from the plug-in.
    folders.emplace_back(VANTELOR_SYSTEM_GUIDE_DIR);
#endif
    return folders;
}

std::string CVantelorWindow::guideAddress(const std::vector<std::string>& folders)
{
    for (const std::string& folder : folders) {
        if (folder.empty())
            continue;
        std::error_code error;
        std::string guide = folder;
        if (guide.back() != '/' && guide.back() != '\\')
            guide += '/';
        guide += kGuideFileName;
        if (!std::filesystem::is_regular_file(guide, error))
            continue;
        // A cut address would open the wrong page; a guide further down
        // the list, or the web page, is the better choice then.
        std::string url = fileURL(guide);
        if (url.size() <= CURLButton::kMaxURLLength)
            return url;
    }
    return vantelor::kProductUrl;
}

std::string CVantelorWindow::productPageURL()
{
    return guideAddress(guideFolders());
}

bool CVantelorWindow::openWindow(CPluginGUIEditor& host)
{
    auto* backgroundBitmap = new CBitmap("gui.png");
    auto* linkBitmap = new CBitmap("info.png");
    const auto W = static_cast<int32_t>(backgroundBitmap->getWidth());
    const auto H = static_cast<int32_t>(backgroundBitmap->getHeight());
    const auto w = static_cast<int32_t>(linkBitmap->getWidth());
    const auto h = static_cast<int32_t>(linkBitmap->getHeight());

    if (!host.openFrame(CRect(0, 0, W, H))) {
        // No window could be made (no display, unusable parent): the host
        // is told, and nothing is left behind.
        backgroundBitmap->forget();
        linkBitmap->forget();
        return false;
    }
    CFrame* frame = host.getFrame();
    binding = &host;

    backgroundView = new CView(CRect(0, 0, W, H));
    backgroundView->setBackground(backgroundBitmap);
    backgroundView->setMouseEnabled(false);
    frame->addView(backgroundView);

    versionLabel = new CTextLabel(CRect(0, H - 18, W - 10, H), "", nullptr);
    versionLabel->setFontColor(kLabelColor);
    auto* labelFont = new CFontDesc("Arial", 10, kNormalFace);
    versionLabel->setFont(labelFont);
    labelFont->forget();
    versionLabel->setTransparency(true);
    versionLabel->setHoriAlign(kRightText);
    char version[64] = {};
    if (connection && connection->getVersionLabel(version)) {
        version[sizeof(version) - 1] = 0;
        versionLabel->setText(version);
    }
    frame->addView(versionLabel);

    const int32_t linkLeft = (W - w) / 2;
    linkButton = new CURLButton(CRect(linkLeft, H - 20, linkLeft + w, H - 20 + h / 2), linkBitmap);
    linkButton->setURL(productPageURL().c_str());
    frame->addView(linkButton);

    // The source plot over the stage, added last so that it lies on top.
    plot = new CVantelorPlot(kPlotRect, this);
    frame->addView(plot);

    backgroundBitmap->forget();
    linkBitmap->forget();

    // From here on parameter changes from other threads queue up for the
    // window; the current values are read after that, so none is missed.
    pendingMask.store(0);
    pendingRedrawAll.store(false);
    windowThread.store(std::this_thread::get_id());
    windowOpen.store(true, std::memory_order_release);
    for (int32_t i = 0; i < kNumParameters; ++i)
        if (connection)
            updatePlot(i, connection->currentValue(i));

    // Paint once now, so the window is complete even before the host's
    // first idle call.
    frame->idle();
    return true;
}

void CVantelorWindow::closeWindow(CPluginGUIEditor& host)
{
    windowOpen.store(false, std::memory_order_release);
    pendingMask.store(0);
    pendingRedrawAll.store(false);
    host.closeFrame();
    binding = nullptr;
    backgroundView = nullptr;
    versionLabel = nullptr;
    linkButton = nullptr;
    plot = nullptr;
}

void CVantelorWindow::idleWindow()
{
    reapFinishedOpeners();
    if (!binding || !binding->getFrame())
        return;
    applyPendingParameters();
    if (pendingRedrawAll.exchange(false) && binding->isWindowVisible())
        binding->getFrame()->setDirty(true);
}

void CVantelorWindow::redrawWindow()
{
    if (!windowOpen.load(std::memory_order_acquire))
        return;
    if (!onWindowThread()) {
        pendingRedrawAll.store(true, std::memory_order_release);
        return;
    }
    if (binding && binding->getFrame() && binding->isWindowVisible())
        binding->getFrame()->setDirty(true);
}

bool CVantelorWindow::onWindowThread() const
{
    return windowThread.load() == std::this_thread::get_id();
}

void CVantelorWindow::showParameter(int32_t index, float value)
{
    if (index < 0 || index >= kNumParameters || !windowOpen.load(std::memory_order_acquire))
        return;
    if (onWindowThread()) {
        // Older values queued from other threads must not land after this one.
        applyPendingParameters();
        updatePlot(index, value);
        return;
    }
    pendingValues[index].store(value, std::memory_order_relaxed);
    pendingMask.fetch_or(1u << index, std::memory_order_release);
}

void CVantelorWindow::applyPendingParameters()
{
    uint32_t mask = pendingMask.exchange(0, std::memory_order_acq_rel);
    for (int32_t i = 0; mask != 0; ++i, mask >>= 1)
        if (mask & 1)
            updatePlot(i, pendingValues[i].load(std::memory_order_relaxed));
}

void CVantelorWindow::updatePlot(int32_t index, float value)
{
    if (plot)
        plot->setParameterValue(index, value);
}

void CVantelorWindow::valueChanged(CControl* control)
{
    if (!control || !connection)
        return;
    const int32_t tag = control->getTag();
    if (tag >= 0 && tag < kNumParameters)
        connection->change(tag, control->getValueNormalized());
}

void CVantelorWindow::beginGesture(int32_t index)
{
    if (connection && index >= 0 && index < kNumParameters)
        connection->beginChange(index);
}

void CVantelorWindow::endGesture(int32_t index)
{
    if (connection && index >= 0 && index < kNumParameters)
        connection->endChange(index);
}
