// The source tree keeps its layers: no file includes a header of a layer its
// own does not build on (dsp <- engine <- plugin; toolkit <- editor; the VST
// bindings above both), as the build's layer table says, and the checker
// itself catches a forbidden include.
#include "IncludeRules.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;

// The table the build wrote; a test without it fails.
const layers::LayerTable& table()
{
    static const std::optional<layers::LayerTable> read = [] {
        std::string error;
        auto table = layers::LayerTable::read(VANTELOR_LAYER_TABLE, error);
        if (!table)
            ADD_FAILURE() << error;
        return table;
    }();
    static const layers::LayerTable empty;
    return read ? *read : empty;
}

TEST(Layers, TheTreeIncludesOnlyWhatItsLayerMayUse)
{
    const auto violations = layers::findViolations(VANTELOR_SOURCE_DIR, table());
    for (const auto& v : violations)
        ADD_FAILURE() << v.file << ":" << v.line << ": \"" << v.include << "\": " << v.reason;
    EXPECT_TRUE(violations.empty());
    EXPECT_FALSE(table().folders().empty());
}

// A small tree with one allowed and one forbidden include per case.
class LayersFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() /
               ("layers-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        for (const char* dir : {"dsp", "engine", "plugin", "product", "toolkit/plugin-bindings",
                                "editor/controls", "tools/gallery", "lv2/ui"})
            fs::create_directories(root / dir);
        for (const char* header :
             {"dsp/BiQuad.h", "engine/Vantelor.h", "plugin/MyVSTPlugin.h", "plugin/AudioEffect.h",
              "plugin/VstInterface.h", "toolkit/CView.h", "toolkit/plugin-bindings/AEffGUIEditor.h",
              "editor/Plot.h", "product/VantelorProcessor.h", "product/VantelorDescription.h",
              "toolkit/plugin-bindings/PluginGUIEditor.h", "toolkit/plugin-bindings/Lv2UiEditor.h"})
            write(header, "#pragma once\n");
    }
    void TearDown() override { fs::remove_all(root); }

    void write(const std::string& file, const std::string& text)
    {
        std::ofstream(root / file) << text;
    }

    fs::path root;
};

// The build's own table applied to a small tree.
TEST_F(LayersFixture, EachForbiddenIncludeIsReportedWithItsLine)
{
    struct Case
    {
        const char* file;
        const char* include;
        bool allowed;
    };
    const Case cases[] = {
        {"engine/A.cpp", "dsp/BiQuad.h", true},
        {"dsp/A.cpp", "engine/Vantelor.h", false},
        {"editor/A.cpp", "toolkit/CView.h", true},
        {"editor/B.cpp", "plugin/AudioEffect.h", false},
        {"editor/MyVSTEditor.cpp", "plugin/AudioEffect.h", true},
        {"editor/E.cpp", "product/VantelorDescription.h", true},
        {"editor/C.cpp", "plugin/MyVSTPlugin.h", false},
        {"editor/D.cpp", "dsp/BiQuad.h", false},
        {"toolkit/A.cpp", "plugin/AudioEffect.h", false},
        {"toolkit/B.cpp", "toolkit/plugin-bindings/AEffGUIEditor.h", false},
        {"toolkit/C.h", "plugin/VstInterface.h", false},
        {"toolkit/plugin-bindings/A.cpp", "plugin/AudioEffect.h", false},
        {"toolkit/plugin-bindings/AEffGUIEditor.cpp", "plugin/AudioEffect.h", true},
        {"toolkit/plugin-bindings/Lv2UiEditor.cpp", "toolkit/plugin-bindings/PluginGUIEditor.h",
         true},
        {"plugin/MyVSTPlugin.cpp", "editor/Plot.h", false},
        {"plugin/AudioEffect.cpp", "engine/Vantelor.h", false},
        {"plugin/VantelorVst.cpp", "editor/Plot.h", true},
        {"lv2/VantelorLv2.cpp", "plugin/MyVSTPlugin.h", false},
        {"lv2/ui/E.cpp", "product/VantelorDescription.h", true},
        {"product/B.cpp", "plugin/AudioEffect.h", false},
        {"lv2/GenerateTtl.cpp", "editor/Plot.h", false},
        {"lv2/ui/A.cpp", "editor/Plot.h", true},
        {"lv2/ui/B.cpp", "plugin/MyVSTPlugin.h", false},
        {"lv2/ui/C.cpp", "toolkit/plugin-bindings/AEffGUIEditor.h", false},
        {"lv2/ui/D.cpp", "toolkit/plugin-bindings/Lv2UiEditor.h", true},
        {"tools/A.cpp", "plugin/MyVSTPlugin.h", false},
        {"editor/controls/A.cpp", "toolkit/CView.h", true},
        {"editor/controls/B.cpp", "editor/Plot.h", false},
        {"editor/controls/C.cpp", "toolkit/plugin-bindings/AEffGUIEditor.h", false},
        {"tools/gallery/A.cpp", "dsp/BiQuad.h", true},
        {"tools/gallery/B.cpp", "plugin/MyVSTPlugin.h", false},
        {"engine/B.cpp", "../dsp/BiQuad.h", false},
        {"engine/C.cpp", "Missing.h", false},
        {"engine/D.cpp", "plugin/Unowned.h", false},
    };
    for (const Case& c : cases)
        write(c.file, std::string("// ok\n#include <vector>\n#include \"") + c.include + "\"\n");

    // A file that no layer owns is reported as a whole.
    write("plugin/Stray.h", "#pragma once\n");

    const auto violations = layers::findViolations(root, table());
    for (const Case& c : cases) {
        const bool reported =
            std::any_of(violations.begin(), violations.end(), [&](const layers::Violation& v) {
                return v.file == c.file && v.include == c.include && v.line == 3;
            });
        EXPECT_EQ(reported, !c.allowed) << c.file << " including " << c.include;
    }
    EXPECT_TRUE(std::any_of(violations.begin(), violations.end(), [](const layers::Violation& v) {
        return v.file == "plugin/Stray.h" && v.line == 0;
    }));
    // A format reaching into another is reported as such.
    EXPECT_TRUE(std::any_of(violations.begin(), violations.end(), [](const layers::Violation& v) {
        return v.file == "lv2/ui/C.cpp" &&
               v.reason.find("lv2 format reaches into the vst2 format") != std::string::npos;
    }));
    EXPECT_EQ(violations.size(),
              1 + static_cast<size_t>(std::count_if(std::begin(cases), std::end(cases),
                                                    [](const Case& c) { return !c.allowed; })));
}

} // namespace
