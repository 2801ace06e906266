#include "toolkit/local_date.h"
#include "toolkit/numbers.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <set>

TEST(MathRound, ModesFloorCeilingAndHalvesAway) {
    EXPECT_EQ(MathRound(2.7, 0), 2.0f);
    EXPECT_EQ(MathRound(-2.2, 0), -3.0f);
    EXPECT_EQ(MathRound(2.2, 1), 3.0f);
    EXPECT_EQ(MathRound(2.5, 2), 3.0f);
    EXPECT_EQ(MathRound(-2.5, 2), -3.0f);
    EXPECT_EQ(MathRound(2.49, 2), 2.0f);
}

TEST(MathLog, WorksInSinglePrecision) {
    // ln(2^30) / ln(1024) is 3 exactly, but not in single precision: the size text
    // depends on this giving just under 3.
    float quotient = MathLog(1073741824.0) / MathLog(1024.0);
    EXPECT_LT(quotient, 3.0f);
    EXPECT_EQ(MathRound(quotient, 0), 2.0f);
    EXPECT_EQ(MathRound(MathLog(1048576.0) / MathLog(1024.0), 0), 2.0f);
    EXPECT_DOUBLE_EQ(MathPow(1024.0, 3), 1073741824.0);
}

TEST(RandomUpTo, StaysInRangeAndVaries) {
    std::set<long long> seen;
    for (int i = 0; i < 2000; ++i) {
        long long value = RandomUpTo(9);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 9);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 10u);
    EXPECT_EQ(RandomUpTo(0), 0);
    for (int i = 0; i < 100; ++i) EXPECT_LE(RandomUpTo(99999999), 99999999);
}

TEST(LocalDate, CountsLocalFieldsAsUtcWithinRange) {
    EXPECT_EQ(DateFromParts(1970, 1, 1, 0, 0, 0), 0);
    EXPECT_EQ(DateFromParts(2038, 1, 19, 3, 14, 7), 2147483647LL);
    EXPECT_EQ(DateFromParts(2038, 1, 19, 3, 14, 8), -1);
    EXPECT_EQ(DateFromParts(1969, 12, 31, 23, 59, 59), -1);
    EXPECT_EQ(DateYear(DateFromParts(2000, 2, 29, 12, 0, 0)), 2000);
    EXPECT_EQ(DateYear(DateFromParts(2026, 12, 31, 23, 59, 59)), 2026);
    EXPECT_EQ(DateYear(DateFromParts(2027, 1, 1, 0, 0, 0)), 2027);
    EXPECT_EQ(DateYear(-1), 0);
    EXPECT_EQ(DateYear(0), 1970);

    SYSTEMTIME now;
    GetLocalTime(&now);
    long long seconds = NowLocal();
    if (now.wYear < 2038) {
        EXPECT_EQ(DateYear(seconds), now.wYear);
    }
}
