#include "platform/variant_conversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

namespace {

struct CurrencyCase
{
    const char *text;
    HRESULT hr;
    std::int64_t scaled;
};

const CurrencyCase kCurrencyCases[] = {
    {"12.50", S_OK, 125000},
    {"  12.5  ", S_OK, 125000},
    {"-3", S_OK, -30000},
    {"3-", S_OK, -30000},
    {"+3", S_OK, 30000},
    {"(4.25)", S_OK, -42500},
    {"( 4.25 )", S_OK, -42500},
    {"1,234.5", S_OK, 12345000},
    {"1,2,3", S_OK, 1230000},
    {"$5.00", S_OK, 50000},
    {"5.00$", S_OK, 50000},
    {"-$5", S_OK, -50000},
    {"\xC2\xA3" "7.10", S_OK, 71000},
    {"\xE2\x82\xAC" " 2", S_OK, 20000},
    {".5", S_OK, 5000},
    {"5.", S_OK, 50000},
    {"0.00005", S_OK, 0},      // half to even: 0.0000|5 -> 0.0000
    {"0.00015", S_OK, 2},      // 0.0001|5 -> 0.0002
    {"0.000151", S_OK, 2},
    {"0.000049", S_OK, 0},
    {"-0.00015", S_OK, -2},
    {"922337203685477.5807", S_OK, INT64_MAX},
    {"-922337203685477.5808", S_OK, INT64_MIN},
    {"922337203685477.5808", DISP_E_OVERFLOW, 0},
    {"99999999999999999999999", DISP_E_OVERFLOW, 0},
    {"", DISP_E_TYPEMISMATCH, 0},
    {"   ", DISP_E_TYPEMISMATCH, 0},
    {"abc", DISP_E_TYPEMISMATCH, 0},
    {"12x", DISP_E_TYPEMISMATCH, 0},
    {"1.2.3", DISP_E_TYPEMISMATCH, 0},
    {"--3", DISP_E_TYPEMISMATCH, 0},
    {"-3-", DISP_E_TYPEMISMATCH, 0},
    {"-(3)", DISP_E_TYPEMISMATCH, 0},
    {"(3", DISP_E_TYPEMISMATCH, 0},
    {"3)", DISP_E_TYPEMISMATCH, 0},
    {",5", DISP_E_TYPEMISMATCH, 0},
    {"5,", DISP_E_TYPEMISMATCH, 0},
    {"1e3", S_OK, 10000000},
    {"1.23456E2", S_OK, 1234560},
    {"-2.5e-1", S_OK, -2500},
    {"5e-5", S_OK, 0},         // half to even, after the exponent
    {"1.5e-4", S_OK, 2},
    {"0.0001e4", S_OK, 10000},
    {"1e-99999", S_OK, 0},
    {"1e15", DISP_E_OVERFLOW, 0},
    {"1e99999", DISP_E_OVERFLOW, 0},
    {"1e", DISP_E_TYPEMISMATCH, 0},
    {"1.5,0", DISP_E_TYPEMISMATCH, 0},
    {"$$5", DISP_E_TYPEMISMATCH, 0},
    {".", DISP_E_TYPEMISMATCH, 0},
};

class ACurrencyConversion : public testing::TestWithParam<CurrencyCase>
{
};

TEST_P(ACurrencyConversion, ReadsTheTextAsOleDid)
{
    const CurrencyCase &c = GetParam();
    Currency value{-777};
    EXPECT_EQ(VarCyFromStr(c.text, &value), c.hr) << c.text;
    EXPECT_EQ(value.scaled, c.hr == S_OK ? c.scaled : -777) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Table, ACurrencyConversion, testing::ValuesIn(kCurrencyCases));

struct ShortCase
{
    const char *text;
    HRESULT hr;
    std::int16_t value;
};

const ShortCase kShortCases[] = {
    {"12", S_OK, 12},       {" -12 ", S_OK, -12},   {"12-", S_OK, -12},     {"(12)", S_OK, -12},
    {"2.5", S_OK, 2},       {"3.5", S_OK, 4},       {"-2.5", S_OK, -2},     {"2.51", S_OK, 3},
    {"2.4999", S_OK, 2},    {"32767", S_OK, 32767}, {"-32768", S_OK, -32768}, {"32,767", S_OK, 32767},
    {"32768", DISP_E_OVERFLOW, 0}, {"32767.5", DISP_E_OVERFLOW, 0}, {"-32769", DISP_E_OVERFLOW, 0},
    {"007", S_OK, 7},       {"$3", S_OK, 3},        {"1e2", S_OK, 100},
    {"1.5E1", S_OK, 15},    {"2.5e0", S_OK, 2},     {"25e-1", S_OK, 2},     {"3.3e4", DISP_E_OVERFLOW, 0},
    {"e2", DISP_E_TYPEMISMATCH, 0},
    {"x", DISP_E_TYPEMISMATCH, 0}, {"", DISP_E_TYPEMISMATCH, 0},
};

class AShortConversion : public testing::TestWithParam<ShortCase>
{
};

TEST_P(AShortConversion, RoundsHalfToEvenAndRefusesWhatDoesNotFit)
{
    const ShortCase &c = GetParam();
    std::int16_t value = 99;
    EXPECT_EQ(VarI2FromStr(c.text, &value), c.hr) << c.text;
    EXPECT_EQ(value, c.hr == S_OK ? c.value : 99) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Table, AShortConversion, testing::ValuesIn(kShortCases));

struct DoubleCase
{
    const char *text;
    HRESULT hr;
    double value;
};

const DoubleCase kDoubleCases[] = {
    {"2.5", S_OK, 2.5},         {"  -0.125 ", S_OK, -0.125}, {"1,000.25", S_OK, 1000.25},
    {"1e3", S_OK, 1000.0},      {"1.5E-2", S_OK, 0.015},     {"(2)", S_OK, -2.0},
    {"2-", S_OK, -2.0},         {"$1.25", S_OK, 1.25},       {"1e999", DISP_E_OVERFLOW, 0},
    {"1e-999", S_OK, 0.0},      {"1e", DISP_E_TYPEMISMATCH, 0}, {"e3", DISP_E_TYPEMISMATCH, 0},
    {"1.5 l", DISP_E_TYPEMISMATCH, 0},
};

class ADoubleConversion : public testing::TestWithParam<DoubleCase>
{
};

TEST_P(ADoubleConversion, AcceptsAnExponent)
{
    const DoubleCase &c = GetParam();
    double value = 42.0;
    EXPECT_EQ(VarR8FromStr(c.text, &value), c.hr) << c.text;
    EXPECT_DOUBLE_EQ(value, c.hr == S_OK ? c.value : 42.0) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Table, ADoubleConversion, testing::ValuesIn(kDoubleCases));

TEST(ACurrencyText, DropsTrailingZerosAndKeepsTheSign)
{
    EXPECT_EQ(CurrencyText(Currency{125000}), "12.5");
    EXPECT_EQ(CurrencyText(Currency{0}), "0");
    EXPECT_EQ(CurrencyText(Currency{-100}), "-0.01");
    EXPECT_EQ(CurrencyText(Currency{30000}), "3");
    EXPECT_EQ(CurrencyText(Currency{INT64_MIN}), "-922337203685477.5808");
}

TEST(AConversion, RefusesANullOutput)
{
    EXPECT_EQ(VarCyFromStr("1", nullptr), E_POINTER);
    EXPECT_EQ(VarI2FromStr("1", nullptr), E_POINTER);
    EXPECT_EQ(VarR8FromStr("1", nullptr), E_POINTER);
}

} // namespace

// Plain digits are read on a shorter road; a leading blank sends the same number the long way.
TEST(APlainNumber, ConvertsExactlyAsTheGeneralGrammarDoes)
{
    std::mt19937 random(5);
    const auto digits = [&](std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i)
            text.push_back(static_cast<char>('0' + random() % 10));
        return text;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text = random() % 4 == 0 ? "-" : "";
        text += digits(1 + random() % 20);
        if (const std::size_t decimals = random() % 8; decimals > 0)
            text.append(".").append(digits(decimals));
        const std::string general = " " + text;

        Currency plainCy{-1}, generalCy{-1};
        EXPECT_EQ(VarCyFromStr(text, &plainCy), VarCyFromStr(general, &generalCy)) << text;
        EXPECT_EQ(plainCy, generalCy) << text;

        std::int16_t plainI2 = -1, generalI2 = -1;
        EXPECT_EQ(VarI2FromStr(text, &plainI2), VarI2FromStr(general, &generalI2)) << text;
        EXPECT_EQ(plainI2, generalI2) << text;

        double plainR8 = -1.0, generalR8 = -1.0;
        EXPECT_EQ(VarR8FromStr(text, &plainR8), VarR8FromStr(general, &generalR8)) << text;
        EXPECT_EQ(std::memcmp(&plainR8, &generalR8, sizeof plainR8), 0) << text; // -0 too
    }
}

TEST(APlainNumber, KeepsTheEdgesOfEachRange)
{
    Currency cy;
    EXPECT_EQ(VarCyFromStr("99999999999999.9999", &cy), S_OK);
    EXPECT_EQ(cy.scaled, 999999999999999999);
    EXPECT_EQ(VarCyFromStr("-0.5", &cy), S_OK);
    EXPECT_EQ(cy.scaled, -5000);
    std::int16_t i2 = 0;
    EXPECT_EQ(VarI2FromStr("-32768", &i2), S_OK);
    EXPECT_EQ(i2, INT16_MIN);
    EXPECT_EQ(VarI2FromStr("32768", &i2), DISP_E_OVERFLOW);
    EXPECT_EQ(VarI2FromStr("99999", &i2), DISP_E_OVERFLOW);
    EXPECT_EQ(i2, INT16_MIN);
    double r8 = 0.0;
    EXPECT_EQ(VarR8FromStr("-0", &r8), S_OK);
    EXPECT_TRUE(std::signbit(r8));
    EXPECT_EQ(VarR8FromStr("0.1", &r8), S_OK);
    EXPECT_EQ(r8, 0.1);
}
