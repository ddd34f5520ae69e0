// The layers of the source tree as rules on #include: which part of the tree
// may include which. Checked over the whole tree by LayersTest.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace layers {

// Files whose path starts with `owner` may include project headers whose
// path starts with one of `allowed` and with none of `denied`.
struct Rule
{
    std::string owner;
    std::vector<std::string> allowed;
    std::vector<std::string> denied;
};

// The most specific rule (longest owner) decides; folders without a rule
// (tests, benchmarks) are not layered.
const std::vector<Rule>& rules();

struct Violation
{
    std::string file;
    int line;
    std::string include;
};

// Every include in the files under `root` (relative paths as in the tree)
// that its rule forbids, including any path that climbs out of its folder.
// A quoted include without a folder must name a sibling file.
std::vector<Violation> findViolations(const std::filesystem::path& root);

} // namespace layers
