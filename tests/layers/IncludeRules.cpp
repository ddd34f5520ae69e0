#include "IncludeRules.h"

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>

namespace layers {
namespace {

bool startsWith(const std::string& s, const std::string& prefix)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}

bool holds(const std::string& owned, const std::string& path)
{
    return owned.ends_with('/') ? startsWith(path, owned) : path == owned;
}

} // namespace

std::optional<LayerTable> LayerTable::read(const std::filesystem::path& file, std::string& error)
{
    std::ifstream in(file);
    if (!in) {
        error = "cannot read " + file.string();
        return std::nullopt;
    }
    LayerTable table;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        std::istringstream words(text);
        std::string layer, fact, value, extra;
        if (!(words >> layer >> fact >> value) || (words >> extra)) {
            error = file.string() + ":" + std::to_string(line) + ": not \"<layer> <fact> <value>\"";
            return std::nullopt;
        }
        Layer& entry = table.layers_[layer];
        if (fact == "owns")
            entry.owns.push_back(value);
        else if (fact == "public")
            entry.publicUses.push_back(value);
        else if (fact == "private")
            entry.privateUses.push_back(value);
        else if (fact == "format")
            entry.format = value;
        else {
            error = file.string() + ":" + std::to_string(line) + ": unknown fact \"" + fact + "\"";
            return std::nullopt;
        }
    }
    for (const auto& [name, layer] : table.layers_) {
        if (layer.owns.empty()) {
            error = "layer " + name + " owns nothing";
            return std::nullopt;
        }
        for (const auto* uses : {&layer.publicUses, &layer.privateUses})
            for (const std::string& used : *uses)
                if (!table.layers_.count(used)) {
                    error = "layer " + name + " builds on " + used + ", which is not declared";
                    return std::nullopt;
                }
    }
    if (table.layers_.empty()) {
        error = file.string() + " declares no layers";
        return std::nullopt;
    }
    return table;
}

std::string LayerTable::formatCrossing(const std::string& from, const std::string& to) const
{
    const auto a = layers_.find(from);
    const auto b = layers_.find(to);
    if (a == layers_.end() || b == layers_.end() || a->second.format.empty() ||
        b->second.format.empty() || a->second.format == b->second.format)
        return {};
    return "the " + a->second.format + " format reaches into the " + b->second.format +
           " format (" + to + "): formats build on the product alone";
}

std::string LayerTable::ownerOf(const std::string& path) const
{
    std::string best;
    size_t bestLength = 0;
    for (const auto& [name, layer] : layers_)
        for (const std::string& owned : layer.owns)
            if (holds(owned, path) && owned.size() > bestLength) {
                best = name;
                bestLength = owned.size();
            }
    return best;
}

std::set<std::string> LayerTable::visibleFrom(const std::string& name) const
{
    std::set<std::string> seen{name};
    std::vector<std::string> pending;
    if (auto it = layers_.find(name); it != layers_.end()) {
        pending = it->second.publicUses;
        pending.insert(pending.end(), it->second.privateUses.begin(), it->second.privateUses.end());
    }
    while (!pending.empty()) {
        const std::string next = pending.back();
        pending.pop_back();
        if (!seen.insert(next).second)
            continue;
        if (auto it = layers_.find(next); it != layers_.end())
            pending.insert(pending.end(), it->second.publicUses.begin(),
                           it->second.publicUses.end());
    }
    return seen;
}

std::vector<std::string> LayerTable::folders() const
{
    std::set<std::string> tops;
    for (const auto& [name, layer] : layers_)
        for (const std::string& owned : layer.owns)
            tops.insert(owned.substr(0, owned.find('/')));
    return {tops.begin(), tops.end()};
}

std::vector<Violation> findViolations(const std::filesystem::path& root, const LayerTable& table)
{
    static const std::regex includeLine(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
    std::vector<Violation> found;
    std::vector<std::filesystem::path> files;
    // Only the layered folders: the build tree may sit inside the source tree.
    for (const std::string& folder : table.folders()) {
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
        const std::string layer = table.ownerOf(file);
        if (layer.empty()) {
            found.push_back({file, 0, "", "belongs to no layer"});
            continue;
        }
        const std::set<std::string> visible = table.visibleFrom(layer);
        std::ifstream in(path);
        std::string text;
        for (int line = 1; std::getline(in, text); ++line) {
            std::smatch m;
            if (!std::regex_search(text, m, includeLine))
                continue;
            const bool quoted = m[1] == "\"";
            const std::string include = m[2];
            std::string reason;
            if (include.find("..") != std::string::npos || startsWith(include, "./"))
                reason = "climbs out of its folder";
            else if (include.find('/') == std::string::npos) {
                // A file of the same folder, or a system header.
                if (quoted && !std::filesystem::exists(path.parent_path() / include))
                    reason = "names no file beside it";
            } else if (quoted || std::filesystem::exists(root / include)) {
                // Angle brackets name system headers (<sys/mman.h>) unless
                // they reach into the tree.
                const std::string owner = table.ownerOf(include);
                if (owner.empty())
                    reason = "no layer owns it";
                else if (const std::string crossed = table.formatCrossing(layer, owner);
                         !crossed.empty())
                    reason = crossed;
                else if (!visible.count(owner))
                    reason = "layer " + layer + " does not build on " + owner;
            }
            if (!reason.empty())
                found.push_back({file, line, include, reason});
        }
    }
    return found;
}

} // namespace layers
