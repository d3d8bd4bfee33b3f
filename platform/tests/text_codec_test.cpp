#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include <string>

TEST(ATextCodec, RoundTripsEveryWindows1252Byte)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(ATextCodec, ReadsTheUndefinedBytesAsTheControlsOfTheSameNumber)
{
    for (const unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        const std::string utf8 = Cp1252ToUtf8(std::string(1, static_cast<char>(b)));
        EXPECT_EQ(utf8, std::string({'\xC2', static_cast<char>(b)})) << std::hex << int(b);
    }
}

struct CodecCase
{
    std::string cp1252;
    std::string utf8;
};

class ATextCodecPair : public ::testing::TestWithParam<CodecCase>
{
};

TEST_P(ATextCodecPair, ConvertsBothWays)
{
    EXPECT_EQ(Cp1252ToUtf8(GetParam().cp1252), GetParam().utf8);
    EXPECT_EQ(Utf8ToCp1252(GetParam().utf8), GetParam().cp1252);
}

INSTANTIATE_TEST_SUITE_P(Characters, ATextCodecPair,
                         ::testing::Values(CodecCase{"PUMP 1", "PUMP 1"},
                                           CodecCase{"\x80", "\xE2\x82\xAC"},
                                           CodecCase{"caf\xE9", "caf\xC3\xA9"},
                                           CodecCase{"\x9F", "\xC5\xB8"},
                                           CodecCase{std::string("a\0b", 3), std::string("a\0b", 3)}));

TEST(ATextCodec, WritesAQuestionMarkForWhatWindows1252CannotHold)
{
    EXPECT_EQ(Utf8ToCp1252("x\xE4\xB8\xADy"), "x?y");     // a CJK character
    EXPECT_EQ(Utf8ToCp1252("x\xFFy"), "x?y");             // not UTF-8
}

struct PrefixCase
{
    const char *legend;
    std::string text;
    std::size_t maxBytes;
    std::string expected;
};

class AUtf8Prefix : public ::testing::TestWithParam<PrefixCase>
{
};

TEST_P(AUtf8Prefix, EndsOnACharacterBoundary)
{
    EXPECT_EQ(Utf8Prefix(GetParam().text, GetParam().maxBytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, AUtf8Prefix,
    ::testing::Values(PrefixCase{"Short", "abc", 5, "abc"},
                      PrefixCase{"Ascii", "abcdef", 4, "abcd"},
                      PrefixCase{"BeforeTwoByte", "ab\xC3\xA9", 3, "ab"},
                      PrefixCase{"AfterTwoByte", "ab\xC3\xA9z", 4, "ab\xC3\xA9"},
                      PrefixCase{"InsideThreeByte", "a\xE2\x82\xAC", 3, "a"},
                      PrefixCase{"InsideFourByte", "a\xF0\x9F\x98\x80", 4, "a"},
                      PrefixCase{"FirstCharacterSplit", "\xE2\x82\xAC", 2, ""},
                      PrefixCase{"StrayContinuationRun", "ab\x80\x80\x80\x80\x80\x80", 6,
                                 "ab\x80\x80\x80\x80"}),
    [](const auto &info) { return std::string(info.param.legend); });
