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
    std::string tag = "<CONFIG><SITE";
    for (int i = 0; i < SiteFileScan::kMaxAttributesPerElement; ++i)
        tag += " a" + std::to_string(i) + "='1'";
    files.emplace_back(tag + "/></CONFIG>", true);
    files.emplace_back(tag + " one='too many'/></CONFIG>", false);
    std::string utf16 = "\xFE\xFF"; // the same in UTF-16, big-endian
    for (const char c : files.back().first)
        utf16 += std::string(1, '\0') + c;
    files.emplace_back(utf16, false);
    for (const auto &[bytes, passes] : files) {
        for (const std::size_t chunk : {1u, 3u, 4000u}) {
            SiteFileScan scan;
            std::size_t at = std::min(bytes.size(), std::max<std::size_t>(chunk, 4)); // the encoding's 4 bytes
            bool passed = scan.feed(bytes.substr(0, at));
            for (; passed && at < bytes.size(); at += chunk)
                passed = scan.feed(std::string_view(bytes).substr(at, chunk));
            EXPECT_EQ(passed, passes) << bytes.substr(0, 60) << " in chunks of " << chunk;
        }
    }
}

} // namespace
} // namespace configstore::testing
