#include "configstore/number_text.h"

#include <gtest/gtest.h>

#include <string_view>

namespace configstore {
namespace {

struct ParseCase
{
    std::string_view legend;
    std::string_view text;
    std::int32_t whole;
    std::int16_t cut;
};

const ParseCase kParseCases[] = {
    {"plain digits", "42", 42, 42},
    {"blanks, digits, then letters", "  12abc", 12, 12},
    {"letters only", "abc", 0, 0},
    {"empty text", "", 0, 0},
    {"negative", "-5", -5, -5},
    {"explicit plus", "+7", 7, 7},
    {"tabs and line breaks first", "\t\r\n 3", 3, 3},
    {"sign without digits", "-", 0, 0},
    {"past 16 bits keeps the low bits", "70000", 70000, 4464},
    {"65537 is indexed as 1", "65537", 65537, 1},
    {"past 32 bits saturates high", "99999999999999999999999", 2147483647, -1},
    {"past 32 bits saturates low", "-99999999999999999999999", -2147483647 - 1, 0},
    {"leading zeros", "0007", 7, 7},
    {"digits after a blank inside do not count", "1 2", 1, 1},
};

TEST(AStoredNumber, ReadsLikeTheWideStringToLongConversion)
{
    for (const ParseCase &c : kParseCases) {
        EXPECT_EQ(ParseLong(c.text), c.whole) << c.legend;
        EXPECT_EQ(CutTo16(ParseLong(c.text)), c.cut) << c.legend;
    }
}

TEST(AStoredNumber, IsWrittenAsPlainDecimal)
{
    EXPECT_EQ(FormatNumber(0), "0");
    EXPECT_EQ(FormatNumber(-5), "-5");
    EXPECT_EQ(FormatNumber(32767), "32767");
    EXPECT_EQ(FormatNumber(-32768), "-32768");
}

} // namespace
} // namespace configstore
