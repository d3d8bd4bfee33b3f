#include "recorder_bridge/wide_text.h"

#include <gtest/gtest.h>

using namespace recorder_bridge;

namespace {

TEST(AWideText, EncodesAnAsciiRunAndWhatFollowsIt)
{
    EXPECT_EQ(Utf8FromWide(L""), "");
    EXPECT_EQ(Utf8FromWide(L"PUMP 03"), "PUMP 03");
    EXPECT_EQ(Utf8FromWide(L"MILK \u00A3"
                           L"1.20"),
              "MILK \xC2\xA3"
              "1.20");
    EXPECT_EQ(Utf8FromWide(L"\u20AC"
                           L"5 a"),
              "\xE2\x82\xAC"
              "5 a");
    EXPECT_EQ(Utf8FromWide(L"x\U0001F600y"), "x\xF0\x9F\x98\x80y");
}

TEST(AWideText, WritesWhatIsNoScalarValueAsTheReplacementCharacter)
{
    const wchar_t surrogate[] = {L'a', static_cast<wchar_t>(0xD800), L'b', 0};
    EXPECT_EQ(Utf8FromWide(surrogate), "a\xEF\xBF\xBD"
                                       "b");
    const wchar_t tooLarge[] = {static_cast<wchar_t>(0x110000), 0};
    EXPECT_EQ(Utf8FromWide(tooLarge), "\xEF\xBF\xBD");
}

TEST(AWideText, RoundTripsUtf8AndReplacesWhatIsNotUtf8)
{
    const std::string mixed = "TENDER \xC2\xA3"
                              "40.00 \xE2\x82\xAC \xF0\x9F\x98\x80";
    EXPECT_EQ(Utf8FromWide(WideFromUtf8(mixed)), mixed);
    EXPECT_EQ(WideFromUtf8("a\xFF"
                           "b"),
              L"a\uFFFDb");
    EXPECT_EQ(WideFromUtf8("\xC0\xAF"), L"\uFFFD\uFFFD"); // overlong
}

} // namespace
