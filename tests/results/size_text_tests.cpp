#include "results/size_text.h"

#include <gtest/gtest.h>

TEST(SizeText, WorkedValues) {
    struct Row {
        double bytes;
        const wchar_t* text;
    } rows[] = {
        {0, L"0 bytes"},
        {1, L"1 bytes"},
        {1023, L"1023 bytes"},
        {1024, L"1 KB"},
        {1152, L"1.13 KB"},
        {1536, L"1.50 KB"},
        {2048, L"2 KB"},
        {1048575, L"1024 KB"},
        {1048576, L"1 MB"},
        {2621440, L"3 MB"},
        {104857601, L"100 MB"},
        {681574400, L"650 MB"},
        {1073741824, L"1024 MB"},
        {1073741825, L"1024 MB"},
        {1073741952, L"1 GB"},
        {1610612736, L"1.50 GB"},
        {4294967296, L"4 GB"},
        {5000000000, L"4.66 GB"},
        {1099511627776, L"1 TB"},
    };
    for (const Row& row : rows) EXPECT_EQ(sizeText(row.bytes), row.text) << "for " << row.bytes << " bytes";
}

TEST(SizeText, BelowOneIsZeroBytes) {
    EXPECT_EQ(sizeText(0.5), L"0 bytes");
    EXPECT_EQ(sizeText(-1), L"0 bytes");
    EXPECT_EQ(sizeText(-5368709120.0), L"0 bytes");
}

TEST(SizeText, LargestSizesKeepTheirUnit) {
    EXPECT_EQ(sizeText(1125899906842624.0), L"1 PB");
    EXPECT_EQ(sizeText(1152921504606846976.0), L"1024 PB");
    EXPECT_EQ(sizeText(9223372036854775807.0), L"8 EB");
}
