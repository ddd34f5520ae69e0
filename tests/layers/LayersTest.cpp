// The source tree keeps its layers: no folder includes a header of a part it
// may not use (dsp <- engine <- plugin; toolkit <- editor; the VST bindings
// above both), and the checker itself catches a forbidden include.
#include "IncludeRules.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;

TEST(Layers, TheTreeIncludesOnlyWhatItsLayerMayUse)
{
    const auto violations = layers::findViolations(VANTELOR_SOURCE_DIR);
    for (const auto& v : violations)
        ADD_FAILURE() << v.file << ":" << v.line << ": may not include \"" << v.include << "\"";
    EXPECT_TRUE(violations.empty());
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
        for (const char* dir : {"dsp", "engine", "plugin", "toolkit/plugin-bindings",
                                "editor/controls", "tools/gallery", "lv2/ui"})
            fs::create_directories(root / dir);
        for (const char* header :
             {"dsp/BiQuad.h", "engine/Vantelor.h", "plugin/MyVSTPlugin.h", "plugin/AudioEffect.h",
              "toolkit/CView.h", "toolkit/plugin-bindings/AEffGUIEditor.h", "editor/Plot.h"})
            write(header, "#pragma once\n");
    }
    void TearDown() override { fs::remove_all(root); }

    void write(const std::string& file, const std::string& text)
    {
        std::ofstream(root / file) << text;
    }

    fs::path root;
};

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
        {"editor/B.cpp", "plugin/AudioEffect.h", true},
        {"editor/C.cpp", "plugin/MyVSTPlugin.h", false},
        {"editor/D.cpp", "dsp/BiQuad.h", false},
        {"toolkit/A.cpp", "plugin/AudioEffect.h", false},
        {"toolkit/B.cpp", "toolkit/plugin-bindings/AEffGUIEditor.h", false},
        {"toolkit/plugin-bindings/A.cpp", "plugin/AudioEffect.h", true},
        {"plugin/A.cpp", "editor/Plot.h", false},
        {"plugin/VantelorVst.cpp", "editor/Plot.h", true},
        {"lv2/A.cpp", "plugin/MyVSTPlugin.h", true},
        {"lv2/B.cpp", "editor/Plot.h", false},
        {"lv2/ui/A.cpp", "editor/Plot.h", true},
        {"lv2/ui/B.cpp", "plugin/MyVSTPlugin.h", false},
        {"tools/A.cpp", "plugin/MyVSTPlugin.h", false},
        {"editor/controls/A.cpp", "toolkit/CView.h", true},
        {"editor/controls/B.cpp", "editor/Plot.h", false},
        {"editor/controls/C.cpp", "toolkit/plugin-bindings/AEffGUIEditor.h", false},
        {"tools/gallery/A.cpp", "dsp/BiQuad.h", true},
        {"tools/gallery/B.cpp", "plugin/MyVSTPlugin.h", false},
        {"engine/B.cpp", "../dsp/BiQuad.h", false},
        {"engine/C.cpp", "Missing.h", false},
    };
    for (const Case& c : cases)
        write(c.file, std::string("// ok\n#include <vector>\n#include \"") + c.include + "\"\n");

    const auto violations = layers::findViolations(root);
    for (const Case& c : cases) {
        const bool reported =
            std::any_of(violations.begin(), violations.end(), [&](const layers::Violation& v) {
                return v.file == c.file && v.include == c.include && v.line == 3;
            });
        EXPECT_EQ(reported, !c.allowed) << c.file << " including " << c.include;
    }
    EXPECT_EQ(violations.size(),
              static_cast<size_t>(std::count_if(std::begin(cases), std::end(cases),
                                                [](const Case& c) { return !c.allowed; })));
}

} // namespace
