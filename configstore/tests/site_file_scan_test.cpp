// The look at a site file before it is parsed lets every site file of the project through, and
// gives the same answer however the reads cut the file.

#include "configstore/site_file_scan.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace configstore::testing {
namespace {

std::string Repeated(const std::string &text, std::size_t count)
{
    std::string all;
    for (std::size_t i = 0; i < count; ++i)
        all += text;
    return all;
}

// `count` presets without comments, as the store writes them: 7 nodes in 82 bytes or more.
std::string StoreLaidOutPresets(int count)
{
    std::string text
        = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CONFIG>\n  <SITE NAME=\"Default\">\n"
          "    <CAMERAS>\n      <CAMERA NUMBER=\"1\">\n        <TYPE>80</TYPE>\n        "
          "<PRESETS>\n";
    for (int i = 1; i <= count; ++i)
        text += "          <PRESET NUMBER=\"" + std::to_string(i)
                + "\">\n            <COMMENT></COMMENT>\n          </PRESET>\n";
    return text + "        </PRESETS>\n      </CAMERA>\n    </CAMERAS>\n  </SITE>\n</CONFIG>\n";
}

TEST(ASiteFileScan, GivesOneAnswerHoweverTheFileIsCut)
{
    std::vector<std::pair<std::string, bool>> files; // the bytes, and whether they pass
    const std::filesystem::path data = CONFIGSTORE_TEST_DATA;
    for (const auto &folder : {data, data / "../../../fuzz/corpus/site_import"}) {
        for (const auto &entry : std::filesystem::directory_iterator(folder)) {
            std::ostringstream text;
            text << std::ifstream(entry.path(), std::ios::binary).rdbuf();
            files.emplace_back(text.str(), true);
        }
    }
    ASSERT_GE(files.size(), 4u) << "the project's site files";
    files.emplace_back(StoreLaidOutPresets(12000), true); // past the nodes any file may hold
    std::string tag = "<CONFIG><SITE";
    for (int i = 0; i < SiteFileScan::kMaxAttributesPerElement; ++i)
        tag += " a" + std::to_string(i) + "='1'";
    files.emplace_back(tag + "/></CONFIG>", true);
    files.emplace_back(tag + " one='too many'/></CONFIG>", false);
    std::string utf16 = "\xFE\xFF"; // the same in UTF-16, big-endian
    for (const char c : files.back().first)
        utf16 += std::string(1, '\0') + c;
    files.emplace_back(utf16, false);
    // `<a/>` is one node: as many as a file of their size may hold, and one more.
    const auto tinyElements
        = [](std::size_t count) { return "<CONFIG>" + Repeated("<a/>", count) + "</CONFIG>"; };
    std::size_t most = 0;
    while (1 + most + 1 <= SiteFileScan::nodeBudget(tinyElements(0).size() + 4 * (most + 1)))
        ++most;
    files.emplace_back(tinyElements(most), true);
    files.emplace_back(tinyElements(most + 1), false);
    // Declarations of as many characters as a file may hold, counted from each keyword to the
    // next '<' (33 besides the blanks), and one more.
    const auto declarations = [](int blanks) {
        return "<!DOCTYPE CONFIG [<!ATTLIST CONFIG" + std::string(blanks, ' ') + ">]><CONFIG/>";
    };
    files.emplace_back(declarations(SiteFileScan::kMaxDeclarationCharacters - 33), true);
    files.emplace_back(declarations(SiteFileScan::kMaxDeclarationCharacters - 32), false);
    for (const auto &[bytes, passes] : files) {
        for (const std::size_t chunk : {1u, 3u, 4000u}) {
            SiteFileScan scan(bytes.size());
            std::size_t at = std::min(bytes.size(), std::max<std::size_t>(chunk, 4)); // the encoding's 4 bytes
            bool passed = scan.feed(bytes.substr(0, at));
            for (; passed && at < bytes.size(); at += chunk)
                passed = scan.feed(std::string_view(bytes).substr(at, chunk));
            EXPECT_EQ(passed, passes)
                << bytes.substr(0, 60) << " in chunks of " << chunk << ": " << scan.reason();
        }
    }
}

} // namespace
} // namespace configstore::testing
