// The link button's address on Windows: the guide beside the binary as a
// file address with the drive letter ("file:///C:/..."), which the shell's
// "open" verb hands to the browser.
#include <gtest/gtest.h>

#include "editor/MyVSTEditor.h"

#include <windows.h>

namespace {

TEST(LinkAddress, TheGuideBesideTheBinaryAsAFileAddressWithItsDrive)
{
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
    std::string expected = std::string("file:///") + path;
    for (char& c : expected)
        if (c == '\\')
            c = '/';
    expected = expected.substr(0, expected.rfind('/') + 1) + CMyVSTEditor::kGuideFileName;
    ASSERT_EQ(expected.find(' '), std::string::npos) << "the build folder's path has a space";
    EXPECT_EQ(CMyVSTEditor::productPageURL(), expected);
    EXPECT_EQ(expected.compare(0, 10, "file:///Z:"), 0) << expected; // Wine maps / to Z:
}

} // namespace
