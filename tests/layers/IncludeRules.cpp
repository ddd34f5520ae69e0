#include "IncludeRules.h"

#include <algorithm>
#include <fstream>
#include <regex>

namespace layers {
namespace {

// What a part may see of the VST layer: the interface and its base classes.
const std::vector<std::string> kVstBase = {"plugin/VstInterface.h", "plugin/AEffEditor.h",
                                           "plugin/AudioEffect.h", "plugin/AudioEffectX.h"};

std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

bool startsWith(const std::string& s, const std::string& prefix)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}

const Rule* ruleFor(const std::string& file)
{
    const Rule* best = nullptr;
    for (const Rule& rule : rules())
        if (startsWith(file, rule.owner) && (!best || rule.owner.size() > best->owner.size()))
            best = &rule;
    return best;
}

bool permitted(const Rule& rule, const std::string& include)
{
    const auto matches = [&](const std::string& prefix) { return startsWith(include, prefix); };
    return std::any_of(rule.allowed.begin(), rule.allowed.end(), matches) &&
           std::none_of(rule.denied.begin(), rule.denied.end(), matches);
}

} // namespace

const std::vector<Rule>& rules()
{
    static const std::vector<Rule> table = {
        {"dsp/", {"dsp/"}, {}},
        {"engine/", {"dsp/", "engine/"}, {}},
        // The VST layer: interface, base classes, and the small headers that
        // the editor shares with the product.
        {"plugin/VstKeyCode.h", {}, {}},
        {"plugin/VstInterface.h", {"plugin/VstKeyCode.h"}, {}},
        {"plugin/AEffEditor.h", kVstBase, {}},
        {"plugin/AudioEffect", kVstBase, {}},
        {"plugin/SpeakerArrangement.cpp", kVstBase, {}},
        {"plugin/TextBounded", {"plugin/TextBounded.h"}, {}},
        {"plugin/VantelorParameters.h", {"plugin/VstInterface.h"}, {}},
        {"plugin/VersionLabel.h", {}, {}},
        {"plugin/EditorConnection.h", {}, {}},
        // The framework and the product stand on the engine; they reach an
        // editor only through the framework's AEffEditor. The VST entry
        // attaches the product's window.
        {"plugin/", {"dsp/", "engine/", "plugin/"}, {}},
        {"plugin/VantelorVst.cpp", {"plugin/", "editor/"}, {}},
        // The LV2 adapter: the same product, no window, no VST entry; its UI
        // is the same window behind the editor's narrow interface.
        {"lv2/", {"lv2/", "plugin/", "engine/", "dsp/"}, {"plugin/VantelorVst.h"}},
        // The LV2 UI: the product's window and what the editor itself may
        // see of the plug-in, never the product class or its engine.
        {"lv2/ui/",
         join({"lv2/VantelorPorts.h", "editor/", "toolkit/", "plugin/VantelorParameters.h",
               "plugin/VantelorTable.h", "plugin/VantelorVersion.h", "plugin/EditorConnection.h"},
              kVstBase),
         {}},
        // The toolkit's key events carry the plug-in interface's key record,
        // which depends on nothing.
        {"toolkit/", {"toolkit/", "plugin/VstKeyCode.h"}, {"toolkit/plugin-bindings/"}},
        {"toolkit/plugin-bindings/", join({"toolkit/"}, kVstBase), {}},
        {"resources/", {"resources/", "toolkit/"}, {"toolkit/plugin-bindings/"}},
        {"editor/",
         join({"editor/", "toolkit/", "resources/", "plugin/TextBounded.h",
               "plugin/VantelorParameters.h", "plugin/VersionLabel.h", "plugin/EditorConnection.h"},
              kVstBase),
         {}},
        // The control library builds on the toolkit (and its label texts)
        // alone; the product's window is above it.
        {"editor/controls/",
         {"editor/controls/", "toolkit/", "plugin/TextBounded.h"},
         {"toolkit/plugin-bindings/"}},
        // The host tool knows nothing of our plug-in's code.
        {"tools/", {"tools/", "plugin/VstInterface.h"}, {}},
        // The control gallery shows the control library, its meters fed by
        // the level followers.
        {"tools/gallery/",
         {"tools/gallery/", "editor/controls/", "toolkit/", "dsp/"},
         {"toolkit/plugin-bindings/"}},
    };
    return table;
}

std::vector<Violation> findViolations(const std::filesystem::path& root)
{
    static const std::regex includeLine(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
    std::vector<Violation> found;
    std::vector<std::filesystem::path> files;
    // Only the layered folders: the build tree may sit inside the source tree.
    std::vector<std::string> folders;
    for (const Rule& rule : rules())
        if (std::string top = rule.owner.substr(0, rule.owner.find('/'));
            std::find(folders.begin(), folders.end(), top) == folders.end())
            folders.push_back(top);
    for (const std::string& folder : folders) {
        if (!std::filesystem::is_directory(root / folder))
            continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder)) {
            const auto ext = entry.path().extension();
            if (entry.is_regular_file() &&
                (ext == ".h" || ext == ".cpp" || ext == ".hpp" || ext == ".inc"))
                files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const auto& path : files) {
        const std::string file = path.lexically_relative(root).generic_string();
        const Rule* rule = ruleFor(file);
        if (!rule)
            continue;
        std::ifstream in(path);
        std::string text;
        for (int line = 1; std::getline(in, text); ++line) {
            std::smatch m;
            if (!std::regex_search(text, m, includeLine))
                continue;
            const bool quoted = m[1] == "\"";
            const std::string include = m[2];
            bool ok;
            if (include.find("..") != std::string::npos || startsWith(include, "./"))
                ok = false;
            else if (include.find('/') == std::string::npos)
                // A file of the same folder, or a system header.
                ok = !quoted || std::filesystem::exists(path.parent_path() / include);
            else
                // Angle brackets name system headers (<sys/mman.h>) unless
                // they reach into the tree.
                ok = (!quoted && !std::filesystem::exists(root / include)) ||
                     permitted(*rule, include);
            if (!ok)
                found.push_back({file, line, include});
        }
    }
    return found;
}

} // namespace layers
