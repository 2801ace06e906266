#include "toolkit/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(TextFromDouble, FixedDecimalsRoundHalvesAwayFromZero) {
    struct Row {
        double value;
        int decimals;
        const wchar_t* text;
    } rows[] = {
        {2.0, 2, L"2.00"},      {2.0, 0, L"2"},         {1.5, 0, L"2"},        {-1.5, 0, L"-2"},
        {2.5, 0, L"3"},         {0.5, 0, L"1"},         {1.125, 2, L"1.13"},   {-1.125, 2, L"-1.13"},
        {9.995, 2, L"9.99"},    // 9.995 is stored just below the half
        {9.5, 0, L"10"},        {99.5, 0, L"100"},      {1.005, 2, L"1.00"},   {1023.999, 2, L"1024.00"},
        {4.656612873077393, 2, L"4.66"},                {1.0 / 3, 5, L"0.33333"},
        {-0.0, 2, L"0.00"},     {-0.0, -1, L"0"},       {0.0, 0, L"0"},
        {1e20, 0, L"100000000000000000000"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(TextFromDouble(row.value, row.decimals), row.text) << row.value << " with " << row.decimals;
}

TEST(TextFromDouble, AsManyAsNeededTrimsTrailingZeros) {
    EXPECT_EQ(TextFromDouble(2.0, -1), L"2");
    EXPECT_EQ(TextFromDouble(1.5, -1), L"1.5");
    EXPECT_EQ(TextFromDouble(0.1, -1), L"0.1");
    EXPECT_EQ(TextFromDouble(-12.25, -1), L"-12.25");
    EXPECT_EQ(TextFromDouble(1.0 / 3, -1), L"0.3333333333");
    EXPECT_EQ(TextFromDouble(100.0, -1), L"100");
    EXPECT_EQ(TextFromDouble(0.00000000004, -1), L"0");
}

TEST(TextFromDouble, SpecialValuesAndLimits) {
    EXPECT_EQ(TextFromDouble(std::numeric_limits<double>::quiet_NaN(), 2), L"NaN");
    EXPECT_EQ(TextFromDouble(std::numeric_limits<double>::infinity(), 2), L"+Infinity");
    EXPECT_EQ(TextFromDouble(-std::numeric_limits<double>::infinity(), -1), L"-Infinity");
    EXPECT_EQ(TextFromDouble(1.0, 600).size(), 514u);  // decimals are capped at 512
    EXPECT_LE(TextFromDouble(std::numeric_limits<double>::max(), 512).size(), 1024u);
}
