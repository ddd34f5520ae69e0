// The plug-in's window off-screen: its size and layout, the background
// picture, the right-aligned version label, the link button's two images
// and what releasing it does, the exchange of values with the plug-in,
// and the rule that parameter changes from other threads reach the views
// only on the window's thread.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "editor/MyVSTEditor.h"
#include "editor/URLButton.h"
#include "plugin/MyVSTPlugin.h"
#include "resources/VantelorResources.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CTextLabel.h"
#include "toolkit/cairo/CairoBitmap.h"
#include "toolkit/platform/offscreen/OffscreenFrame.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include <unistd.h>

using namespace VSTGUI;
using vantelor_test::editGesture;
using vantelor_test::RecordingHost;
using vantelor_test::StandInOpener;

namespace {

// The product's editor with the plot's entry point recorded.
class RecordingEditor : public CMyVSTEditor
{
public:
    using CMyVSTEditor::CMyVSTEditor;
    struct Update
    {
        VstInt32 index;
        float value;
        std::thread::id thread;
    };
    std::vector<Update> updates;

protected:
    void updatePlot(VstInt32 index, float value) override
    {
        updates.push_back({index, value, std::this_thread::get_id()});
    }
};

// Pixels of an embedded picture, as the toolkit decodes it.
CColor picturePixel(const char* name, int x, int y)
{
    auto* bitmap = new CBitmap(name);
    auto* platform = dynamic_cast<Cairo::Bitmap*>(bitmap->getPlatformBitmap());
    const CColor c = platform ? readSurfacePixel(platform->getSurface(), x, y) : CColor{};
    bitmap->forget();
    return c;
}

class EditorWindow : public ::testing::Test
{
protected:
    EditorWindow() : plugin(vantelor_test::RecordingHost::callback)
    {
        editor = new RecordingEditor(&plugin, &plugin); // attaches itself to the plug-in
        RecordingHost::takeEdits();
    }
    ~EditorWindow() override { editor->close(); }

    OffscreenFrame* image() const
    {
        return dynamic_cast<OffscreenFrame*>(editor->getFrame()->getPlatformFrame());
    }
    CColor pixel(int x, int y)
    {
        editor->idle();
        return image()->getPixel(x, y);
    }
    CPoint at(int x, int y) { return CPoint(x, y); }

    // The link button shows the info picture's image that starts at
    // pictureTop; transparent picture pixels show what lies below, so only
    // opaque ones are compared.
    void expectLinkImage(int pictureTop)
    {
        int compared = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const CColor expected = picturePixel("info.png", x, pictureTop + y);
                if (expected.alpha != 255)
                    continue;
                ++compared;
                ASSERT_EQ(pixel(197 + x, 269 + y), expected) << pictureTop << ": " << x << "," << y;
            }
        EXPECT_GT(compared, 50);
    }

    CMyVSTPlugin plugin;
    RecordingEditor* editor;
};

TEST_F(EditorWindow, AttachesToThePlugInWithThePictureSize)
{
    EXPECT_EQ(plugin.getAeffect()->flags, effFlagsHasEditor | effFlagsCanReplacing);
    ERect* rect = nullptr;
    ASSERT_TRUE(editor->getRect(&rect));
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->right, 414);
    EXPECT_EQ(rect->bottom, 289);
    EXPECT_FALSE(editor->isWindowVisible()); // nothing open yet

    // The size is known before anything is decoded; it must be the
    // background picture's.
    auto* background = new CBitmap("gui.png");
    EXPECT_EQ(rect->right, background->getWidth());
    EXPECT_EQ(rect->bottom, background->getHeight());
    background->forget();
}

TEST_F(EditorWindow, RendersBackgroundLabelAndLinkButton)
{
    ASSERT_TRUE(editor->open(nullptr));
    EXPECT_EQ(editor->getFrame()->getViewSize(), CRect(0, 0, 414, 289));
    EXPECT_FALSE(editor->isWindowVisible()); // off-screen has no window to show

    // Background away from the label and the button.
    for (auto [x, y] : {std::pair{0, 0}, {118, 127}, {300, 100}, {413, 250}, {20, 280}})
        EXPECT_EQ(pixel(x, y), picturePixel("gui.png", x, y)) << x << "," << y;

    // Version label: right-aligned, its right edge 10 px from the window's.
    CTextLabel* label = editor->getVersionLabelView();
    ASSERT_NE(label, nullptr);
    EXPECT_STREQ(label->getText(), "HF_Vantelor v2.9.1");
    EXPECT_EQ(label->getViewSize(), CRect(0, 271, 404, 289));
    int first = 414;
    int last = -1;
    for (int y = 271; y < 289; ++y)
        for (int x = 220; x < 414; ++x)
            if (pixel(x, y).red > 120) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    EXPECT_LE(last, 403);
    EXPECT_GE(last, 398);
    EXPECT_GT(first, 280);

    // Link button: upper image at rest.
    ASSERT_NE(editor->getLinkButton(), nullptr);
    EXPECT_EQ(editor->getLinkButton()->getViewSize(), CRect(197, 269, 217, 289));
    expectLinkImage(0);
}

TEST_F(EditorWindow, PressingTheLinkButtonShowsItsLowerImage)
{
    ASSERT_TRUE(editor->open(nullptr));
    CPoint p = at(207, 279);
    editor->getFrame()->onMouseDown(p, kLButton);
    expectLinkImage(20);
    p = at(100, 100); // dragged off: back to the upper image
    editor->getFrame()->onMouseMoved(p, kLButton);
    expectLinkImage(0);
    editor->getFrame()->onMouseUp(p, kLButton);
}

TEST_F(EditorWindow, LinkButtonOpensItsAddressOnlyOnALeftReleaseOverIt)
{
    ASSERT_TRUE(editor->open(nullptr));
    const std::string url = editor->getLinkButton()->getURL();
    EXPECT_EQ(url, CMyVSTEditor::productPageURL());
    struct Case
    {
        const char* what;
        int32_t buttons;
        CPoint down, up;
        bool opens;
    } cases[] = {
        {"left click", kLButton, {207, 279}, {207, 279}, true},
        {"left click on the last pixel", kLButton, {197, 269}, {217, 289}, true},
        {"released outside", kLButton, {207, 279}, {150, 279}, false},
        {"right click", kRButton, {207, 279}, {207, 279}, false},
    };
    for (const Case& c : cases) {
        StandInOpener opener;
        CPoint p = c.down;
        editor->getFrame()->onMouseDown(p, c.buttons);
        p = c.up;
        editor->getFrame()->onMouseMoved(p, c.buttons);
        editor->getFrame()->onMouseUp(p, c.buttons);
        EXPECT_EQ(opener.opened(c.opens ? 3000 : 300), c.opens ? url : "") << c.what;
        EXPECT_EQ(editor->getLinkButton()->getValue(), 0.f) << c.what;
    }
    EXPECT_TRUE(
        RecordingHost::takeEdits().empty()); // the button has no parameter: no edit gestures
}

TEST_F(EditorWindow, GuideBesideTheBinaryIsTheAddressElseTheWebPage)
{
    // The test's build copies the guide next to this executable.
    const std::string url = CMyVSTEditor::productPageURL();
    EXPECT_EQ(url.rfind("file:///", 0), 0u) << url;
    EXPECT_NE(url.find("/HF_Vantelor-guide.html"), std::string::npos) << url;

    auto* button = new CURLButton(CRect(0, 0, 20, 20), nullptr);
    EXPECT_EQ(std::string(button->getURL()).rfind("https://", 0),
              0u); // the maker's page by default
    const std::string longURL(400, 'x');
    button->setURL(longURL.c_str());
    EXPECT_EQ(std::string(button->getURL()), longURL.substr(0, 255));
    button->setURL(nullptr);
    EXPECT_STREQ(button->getURL(), "");
    button->forget();
}

// The packages put the guide beside the plug-in (Windows, a user's own
// install) or only in the system's documentation folder (the .deb): the first
// folder that holds it wins, and an address too long for the button is passed
// over rather than cut.
TEST(GuideAddress, FirstFolderHoldingTheGuideWins)
{
    namespace fs = std::filesystem;
    const fs::path root =
        fs::temp_directory_path() / ("vantelor-guide-" + std::to_string(::getpid()));
    const std::string empty = (root / "empty").string();
    const std::string beside = (root / "beside").string();
    const std::string system = (root / "doc").string();
    const std::string deep = (root / std::string(240, 'd')).string();
    for (const std::string& dir : {empty, beside, system, deep}) {
        fs::create_directories(dir);
        if (dir != empty)
            std::ofstream(dir + "/" + CMyVSTEditor::kGuideFileName) << "<html></html>";
    }
    const std::string web = CMyVSTEditor::guideAddress({});
    EXPECT_EQ(web.rfind("https://", 0), 0u) << web;
    struct Case
    {
        const char* what;
        std::vector<std::string> folders;
        std::string expected;
    } cases[] = {
        {"beside first", {beside, system}, "file://" + beside + "/HF_Vantelor-guide.html"},
        {"beside with a slash",
         {beside + "/", system},
         "file://" + beside + "/HF_Vantelor-guide.html"},
        {"not beside: the system folder",
         {empty, system},
         "file://" + system + "/HF_Vantelor-guide.html"},
        {"missing folder skipped",
         {(root / "none").string(), "", system},
         "file://" + system + "/HF_Vantelor-guide.html"},
        {"too long for the button: the next",
         {deep, system},
         "file://" + system + "/HF_Vantelor-guide.html"},
        {"nowhere: the web page", {empty, (root / "none").string()}, web},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CMyVSTEditor::guideAddress(c.folders), c.expected) << c.what;
    std::error_code error;
    fs::remove_all(root, error);
}

TEST(GuideAddress, SystemFolderComesAfterThePluginsOwn)
{
    const std::vector<std::string> folders = CMyVSTEditor::guideFolders();
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(folders[1], "/usr/share/doc/hf-vantelor/");
}

TEST_F(EditorWindow, OpenReadsTheCurrentValuesEachTime)
{
    plugin.setParameter(kWidthR, 0.4f); // closed: remembered by the plug-in only
    EXPECT_TRUE(editor->updates.empty());
    for (int round = 0; round < 2; ++round) {
        editor->updates.clear();
        ASSERT_TRUE(editor->open(nullptr));
        ASSERT_EQ(editor->updates.size(), static_cast<size_t>(kNumVantelorParameters)) << round;
        for (VstInt32 i = 0; i < kNumVantelorParameters; ++i) {
            EXPECT_EQ(editor->updates[i].index, i);
            EXPECT_EQ(editor->updates[i].value, plugin.getParameterValue(i));
        }
        EXPECT_EQ(editor->updates[kWidthR].value, round == 0 ? 0.4f : 0.9f);
        editor->close();
        plugin.setParameter(kWidthR, 0.9f);
    }
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_EQ(editor->getVersionLabelView(), nullptr);
    editor->close(); // closing twice is harmless
}

TEST_F(EditorWindow, ControlChangesBecomeAutomatedParameterChanges)
{
    ASSERT_TRUE(editor->open(nullptr));
    RecordingHost::takeEdits();
    editor->updates.clear();
    auto* control = new CControl(CRect(0, 0, 10, 10), editor, kWidthL);
    editor->getFrame()->addView(control);
    control->setValue(0.75f);
    control->beginEdit();
    control->valueChanged();
    control->endEdit();
    EXPECT_EQ(RecordingHost::takeEdits(), editGesture(kWidthL, 0.75f));
    EXPECT_EQ(plugin.getParameterValue(kWidthL), 0.75f);
    // The change comes back to the window at once on its own thread.
    ASSERT_EQ(editor->updates.size(), 1u);
    EXPECT_EQ(editor->updates[0].index, kWidthL);
    EXPECT_EQ(editor->updates[0].value, 0.75f);

    control->setTag(42); // no such parameter
    control->valueChanged();
    EXPECT_TRUE(RecordingHost::takeEdits().empty());
}

// Records the keys the frame hands its focus view.
class KeyRecordingView : public CView
{
public:
    KeyRecordingView() : CView(CRect(0, 0, 10, 10)) {}
    int32_t onKeyDown(VSTGUI::VstKeyCode& keyCode) override
    {
        down.push_back(keyCode);
        return 1;
    }
    int32_t onKeyUp(VSTGUI::VstKeyCode& keyCode) override
    {
        up.push_back(keyCode);
        return 1;
    }
    std::vector<VSTGUI::VstKeyCode> down, up;
};

TEST_F(EditorWindow, HostKeysReachTheFocusViewInTheToolkitsTerms)
{
    ASSERT_TRUE(editor->open(nullptr));
    auto* view = new KeyRecordingView;
    editor->getFrame()->addView(view);
    ASSERT_TRUE(editor->getFrame()->setFocusView(view));
    struct Case
    {
        VstInt32 character;
        VstIntPtr virt;
        float modifiers;
        VSTGUI::VstKeyCode expected;
    } cases[] = {
        {'a', 0, 0, {'a', 0, 0}},
        {0, ::VKEY_UP, ::MODIFIER_SHIFT, {0, VSTGUI::VKEY_UP, VSTGUI::MODIFIER_SHIFT}},
        {0,
         ::VKEY_EQUALS,
         ::MODIFIER_ALTERNATE | ::MODIFIER_COMMAND | ::MODIFIER_CONTROL,
         {0, VSTGUI::VKEY_EQUALS,
          VSTGUI::MODIFIER_ALTERNATE | VSTGUI::MODIFIER_COMMAND | VSTGUI::MODIFIER_CONTROL}},
        // A key and modifier bits the toolkit has no name for: dropped.
        {'b', 200, 0xf0, {'b', 0, 0}},
    };
    for (const Case& c : cases) {
        view->down.clear();
        view->up.clear();
        EXPECT_EQ(plugin.dispatcher(effEditKeyDown, c.character, c.virt, nullptr, c.modifiers), 1);
        EXPECT_EQ(plugin.dispatcher(effEditKeyUp, c.character, c.virt, nullptr, c.modifiers), 1);
        ASSERT_EQ(view->down.size(), 1u);
        ASSERT_EQ(view->up.size(), 1u);
        for (const VSTGUI::VstKeyCode& got : {view->down[0], view->up[0]}) {
            EXPECT_EQ(got.character, c.expected.character) << c.character << "/" << c.virt;
            EXPECT_EQ(got.virt, c.expected.virt) << c.character << "/" << c.virt;
            EXPECT_EQ(got.modifier, c.expected.modifier) << c.character << "/" << c.virt;
        }
    }
    editor->close();
    EXPECT_EQ(plugin.dispatcher(effEditKeyDown, 0, ::VKEY_UP, nullptr, 0), 0); // no window
}

TEST_F(EditorWindow, ResizingAsksTheHostThroughItsSizeWindowCapability)
{
    ASSERT_TRUE(editor->open(nullptr));
    RecordingHost::takeEdits();
    ERect* rect = nullptr;
    for (bool hostCan : {true, false}) {
        RecordingHost::canSizeWindow = hostCan;
        const int width = hostCan ? 500 : 420;
        ASSERT_TRUE(editor->getFrame()->setSize(width, 300));
        EXPECT_EQ(RecordingHost::takeEdits(),
                  hostCan ? std::vector<std::string>{"size500x300"} : std::vector<std::string>{});
        ASSERT_TRUE(editor->getRect(&rect));
        EXPECT_EQ(rect->right, width);
        EXPECT_EQ(rect->bottom, 300);
        EXPECT_EQ(image()->getSize(), CRect(0, 0, width, 300));
    }
    RecordingHost::canSizeWindow = true;
}

TEST_F(EditorWindow, ChangesFromOtherThreadsReachTheViewsOnlyAtTheWindowsIdle)
{
    ASSERT_TRUE(editor->open(nullptr));
    editor->updates.clear();
    const std::thread::id windowThread = std::this_thread::get_id();

    std::atomic<bool> stop{false};
    std::thread automation([&] {
        for (int n = 0; !stop.load(); ++n) {
            plugin.setParameter(n % 8, static_cast<float>(n % 100) / 100.f);
            if (n % 64 == 0)
                std::this_thread::yield();
        }
    });
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (editor->updates.size() < 100 && std::chrono::steady_clock::now() < end) {
        editor->idle();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    stop = true;
    automation.join();
    editor->idle(); // what was still queued
    EXPECT_FALSE(editor->updates.empty());
    for (const auto& u : editor->updates)
        ASSERT_EQ(u.thread, windowThread);

    // The last value of each parameter arrives, and nothing before idle.
    editor->updates.clear();
    std::thread([&] {
        plugin.setParameter(kAziL, 0.1f);
        plugin.setParameter(kAziL, 0.2f);
        plugin.setParameter(kElevR, 0.3f);
        plugin.setParameter(99, 0.5f);
    }).join();
    EXPECT_TRUE(editor->updates.empty());
    editor->idle();
    ASSERT_EQ(editor->updates.size(), 2u);
    EXPECT_EQ(editor->updates[0].index, kAziL);
    EXPECT_EQ(editor->updates[0].value, 0.2f);
    EXPECT_EQ(editor->updates[1].index, kElevR);

    // A change on the window's thread lands after older queued ones.
    editor->updates.clear();
    std::thread([&] { plugin.setParameter(kAziL, 0.6f); }).join();
    plugin.setParameter(kAziL, 0.7f);
    ASSERT_EQ(editor->updates.size(), 2u);
    EXPECT_EQ(editor->updates[1].value, 0.7f);
    editor->idle();
    EXPECT_EQ(editor->updates.size(), 2u);
}

} // namespace

namespace {

constexpr VstInt32 kScaleIndex = 0x50726553;  // 'PreS'
constexpr VstIntPtr kScaleValue = 0x41654373; // 'AeCs'

int channelDistance(const CColor& a, const CColor& b)
{
    return std::max(
        {std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
}

} // namespace

// The window drawn at another scale is the same window, drawn anew at that
// size: halved, the 2x picture matches the 1x one closely, but it is not
// the 1x picture with its pixels doubled (text and curves are sharper).
TEST_F(EditorWindow, DrawsTheWholeWindowAtTheHostsScale)
{
    ASSERT_TRUE(editor->open(nullptr));
    editor->idle();
    std::vector<CColor> once(414 * 289);
    for (int y = 0; y < 289; ++y)
        for (int x = 0; x < 414; ++x)
            once[y * 414 + x] = image()->getPixel(x, y);
    editor->close();

    struct Case
    {
        float factor;
        int width, height;
    } cases[] = {{1.5f, 621, 434}, {2.f, 828, 578}};
    for (const Case& c : cases) {
        ASSERT_EQ(editor->vendorSpecific(kScaleIndex, kScaleValue, nullptr, c.factor), 1);
        ASSERT_TRUE(editor->open(nullptr));
        editor->idle();
        EXPECT_EQ(image()->getPixelWidth(), c.width) << c.factor;
        EXPECT_EQ(image()->getPixelHeight(), c.height) << c.factor;
        editor->close();
    }

    ASSERT_TRUE(editor->open(nullptr));
    editor->idle();
    double halvedError = 0;
    int sharper = 0;
    for (int y = 0; y < 289; ++y)
        for (int x = 0; x < 414; ++x) {
            int sum[3] = {0, 0, 0};
            bool doubledMatches = true;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const CColor p = image()->getPixel(2 * x + dx, 2 * y + dy);
                    sum[0] += p.red;
                    sum[1] += p.green;
                    sum[2] += p.blue;
                    doubledMatches = doubledMatches && channelDistance(p, once[y * 414 + x]) <= 8;
                }
            const CColor halved{static_cast<uint8_t>(sum[0] / 4), static_cast<uint8_t>(sum[1] / 4),
                                static_cast<uint8_t>(sum[2] / 4), 255};
            halvedError += channelDistance(halved, once[y * 414 + x]);
            sharper += doubledMatches ? 0 : 1;
        }
    // On average within a few levels of the 1x window...
    EXPECT_LT(halvedError / (414 * 289), 4.0);
    // ...yet thousands of its pixels differ from a pixel-doubled 1x window.
    EXPECT_GT(sharper, 1000);
}
