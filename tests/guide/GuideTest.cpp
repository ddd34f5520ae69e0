// The installed user guide stands on its own: every picture it shows and every
// local link it makes exists beside it, every picture the build draws is on
// the page, and nothing is fetched from a network.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Reference
{
    std::string tag;
    std::string attribute;
    std::string value;
};

std::string readFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> split(const std::string& list)
{
    std::vector<std::string> items;
    std::stringstream stream(list);
    for (std::string item; std::getline(stream, item, ',');)
        if (!item.empty())
            items.push_back(item);
    return items;
}

// Every src and href attribute, with the tag it sits on.
std::vector<Reference> references(const std::string& html)
{
    std::vector<Reference> found;
    const std::regex tag(R"(<([a-zA-Z]+)\b([^>]*)>)");
    const std::regex attribute(R"(\b(src|href)\s*=\s*\"([^\"]*)\")");
    for (auto t = std::sregex_iterator(html.begin(), html.end(), tag); t != std::sregex_iterator();
         ++t) {
        const std::string attributes = (*t)[2];
        for (auto a = std::sregex_iterator(attributes.begin(), attributes.end(), attribute);
             a != std::sregex_iterator(); ++a)
            found.push_back({(*t)[1], (*a)[1], (*a)[2]});
    }
    return found;
}

std::set<std::string> ids(const std::string& html)
{
    std::set<std::string> found;
    const std::regex id(R"(\bid\s*=\s*\"([^\"]*)\")");
    for (auto i = std::sregex_iterator(html.begin(), html.end(), id); i != std::sregex_iterator();
         ++i)
        found.insert((*i)[1]);
    return found;
}

// The width and height a PNG file declares; zero when it is no PNG.
std::pair<uint32_t, uint32_t> pngSize(const fs::path& path)
{
    const std::string data = readFile(path);
    static const std::string signature("\x89PNG\r\n\x1a\n", 8);
    if (data.size() < 24 || data.compare(0, 8, signature) != 0 || data.compare(12, 4, "IHDR") != 0)
        return {0, 0};
    const auto word = [&](size_t at) {
        uint32_t value = 0;
        for (size_t i = 0; i < 4; ++i)
            value = value << 8 | static_cast<unsigned char>(data[at + i]);
        return value;
    };
    return {word(16), word(20)};
}

class InstalledGuide : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* dir = std::getenv("VANTELOR_INSTALLED_GUIDE");
        if (!dir || !fs::is_regular_file(fs::path(dir) / "HF_Vantelor-guide.html"))
            GTEST_SKIP() << "no installed guide (VANTELOR_INSTALLED_GUIDE)";
        dir_ = dir;
        html_ = readFile(dir_ / "HF_Vantelor-guide.html");
    }

    fs::path dir_;
    std::string html_;
};

TEST_F(InstalledGuide, EveryPictureExistsIsAPngOfTheDeclaredSizeAndNoneIsRemote)
{
    const std::regex dimension(R"(\b(width|height)\s*=\s*\"([0-9]+)\")");
    int pictures = 0;
    for (const Reference& ref : references(html_)) {
        if (ref.attribute != "src")
            continue;
        ++pictures;
        EXPECT_EQ(ref.value.find("://"), std::string::npos) << ref.value << " needs a network";
        const fs::path file = dir_ / ref.value;
        ASSERT_TRUE(fs::is_regular_file(file)) << ref.value << " is missing";
        const auto [width, height] = pngSize(file);
        EXPECT_GT(width, 0u) << ref.value << " is not a PNG";
        // The declared size is the picture's own, so the page reserves the
        // right space before the picture loads and never stretches it.
        const std::regex img("<img\\b[^>]*src=\"" +
                             std::regex_replace(ref.value, std::regex(R"([.])"), "\\.") +
                             "\"[^>]*>");
        std::smatch tag;
        ASSERT_TRUE(std::regex_search(html_, tag, img));
        const std::string text = tag.str();
        for (auto d = std::sregex_iterator(text.begin(), text.end(), dimension);
             d != std::sregex_iterator(); ++d)
            EXPECT_EQ(std::stoul((*d)[2]), (*d)[1] == "width" ? width : height) << ref.value;
    }
    EXPECT_GT(pictures, 0);
    // Style sheets and scripts would need the network or a second file.
    EXPECT_EQ(html_.find("<link"), std::string::npos);
    EXPECT_EQ(html_.find("<script"), std::string::npos);
}

TEST_F(InstalledGuide, EveryMeasuredPictureIsOnThePage)
{
    for (const std::string& name : split(GUIDE_MEASURED_PICTURES)) {
        const std::string file = "HF_Vantelor-" + name + ".png";
        EXPECT_NE(html_.find("src=\"" + file + "\""), std::string::npos) << file << " is not shown";
        EXPECT_TRUE(fs::is_regular_file(dir_ / file)) << file << " was not installed";
    }
}

TEST_F(InstalledGuide, NoLinkIsBroken)
{
    const std::set<std::string> anchors = ids(html_);
    for (const Reference& ref : references(html_)) {
        if (ref.attribute != "href")
            continue;
        const std::string& link = ref.value;
        if (link.starts_with("http://") || link.starts_with("https://") ||
            link.starts_with("mailto:"))
            continue; // the web, for readers who have it
        const size_t hash = link.find('#');
        const std::string file = link.substr(0, hash);
        if (!file.empty()) {
            EXPECT_TRUE(fs::exists(dir_ / file)) << link << " leads nowhere";
        }
        if (hash != std::string::npos && (file.empty() || file == "HF_Vantelor-guide.html")) {
            EXPECT_TRUE(anchors.count(link.substr(hash + 1))) << link << " names no element";
        }
    }
}

} // namespace
