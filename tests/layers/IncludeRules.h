// The layers of the source tree as rules on #include, read from the layer
// table the build writes (one fact a line: "<layer> owns <path>", "<layer>
// public <layer>", "<layer> private <layer>"). Checked over the whole tree by
// LayersTest.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace layers {

struct Layer
{
    // Folders (ending in "/") and single files of the tree.
    std::vector<std::string> owns;
    // Layers it builds on: the public ones are seen by what builds on it too.
    std::vector<std::string> publicUses;
    std::vector<std::string> privateUses;
    // The plug-in format it belongs to ("vst2", "lv2", ...); empty for the
    // product and everything else that is no format's.
    std::string format;
};

class LayerTable
{
public:
    // Nothing when the file cannot be read or a line is not one of the three
    // facts, or names a layer the table does not declare; `error` says why.
    static std::optional<LayerTable> read(const std::filesystem::path& file, std::string& error);

    // The layer owning a path of the tree: the one with the longest owned
    // folder or file holding it; empty when none does.
    std::string ownerOf(const std::string& path) const;
    // The layers whose headers a layer's files may include: its own, those it
    // builds on, and what those pass on publicly.
    std::set<std::string> visibleFrom(const std::string& layer) const;
    // Why a file of layer `from` may not include one of layer `to` because
    // the two belong to different formats; empty when they do not.
    std::string formatCrossing(const std::string& from, const std::string& to) const;
    // The top folders of the tree that hold layers.
    std::vector<std::string> folders() const;

private:
    std::map<std::string, Layer> layers_;
};

struct Violation
{
    std::string file;
    int line; // 0 for the file as a whole
    std::string include;
    std::string reason;
};

// Every include in the layered folders under `root` (relative paths as in the
// tree) that the file's layer may not use, any path that climbs out of its
// folder, a quoted include without a folder that names no sibling file, and
// every file that no layer owns.
std::vector<Violation> findViolations(const std::filesystem::path& root, const LayerTable& table);

} // namespace layers
