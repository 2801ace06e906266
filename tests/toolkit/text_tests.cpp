#include "toolkit/text.h"

#include <gtest/gtest.h>

TEST(TextCutting, ClampsCountsAndPositions) {
    EXPECT_EQ(TextLeft(L"abcdef", 2), L"ab");
    EXPECT_EQ(TextLeft(L"abc", -1), L"");
    EXPECT_EQ(TextLeft(L"abc", 9), L"abc");
    EXPECT_EQ(TextRight(L"abcdef", 2), L"ef");
    EXPECT_EQ(TextRight(L"abc", -5), L"");
    EXPECT_EQ(TextRight(L"abc", 10), L"abc");
    EXPECT_EQ(TextMid(L"abcdef", 0, 2), L"ab");
    EXPECT_EQ(TextMid(L"abcdef", 3), L"cdef");
    EXPECT_EQ(TextMid(L"abcdef", 3, 2), L"cd");
    EXPECT_EQ(TextMid(L"abcdef", 3, -4), L"");
    EXPECT_EQ(TextMid(L"abcdef", 5, 10), L"ef");
    EXPECT_EQ(TextMid(L"abcdef", 7), L"");
    EXPECT_EQ(TextMid(L"", 1), L"");
    EXPECT_EQ(TextLength(L""), 0);
    EXPECT_EQ(TextLength(L"h\u00e9llo"), 5);
}

TEST(TextRemove, RemovesEveryOccurrenceWithoutOverlap) {
    EXPECT_EQ(TextRemove(L"a\"b\"c", L"\""), L"abc");
    EXPECT_EQ(TextRemove(L"aaaa", L"aa"), L"");
    EXPECT_EQ(TextRemove(L"aaa", L"aa"), L"a");
    EXPECT_EQ(TextRemove(L"App.EXE.exe", L".exe", 1), L"App");
    EXPECT_EQ(TextRemove(L"App.EXE", L".exe"), L"App.EXE");
    EXPECT_EQ(TextRemove(L"abc", L""), L"abc");
}

TEST(TextCase, UsesTheSystemMapping) {
    EXPECT_EQ(TextLower(L"MP3 \u00c9t\u00c9"), L"mp3 \u00e9t\u00e9");
    EXPECT_EQ(TextUpper(L"abc\u00e4"), L"ABC\u00c4");
}

TEST(TextTrim, RemovesBlanksButNotTabs) {
    EXPECT_EQ(TextTrim(L"  a b  "), L"a b");
    EXPECT_EQ(TextTrim(L"\ta\t"), L"\ta\t");
    EXPECT_EQ(TextTrim(L"   "), L"");
    EXPECT_EQ(TextTrimStart(L"  a  "), L"a  ");
}

TEST(TextField, SplitsAtMultiCharacterSeparators) {
    EXPECT_EQ(TextField(L"by KB MB", 1, L" "), L"by");
    EXPECT_EQ(TextField(L"by KB MB", 3, L" "), L"MB");
    EXPECT_EQ(TextField(L"by KB MB", 4, L" "), L"");
    EXPECT_EQ(TextField(L"by KB MB", 0, L" "), L"");
    EXPECT_EQ(TextField(L"a,,c", 2, L","), L"");
    EXPECT_EQ(TextField(L"a,,c", 3, L","), L"c");
    EXPECT_EQ(TextField(L"key = value = more", 2, L" = "), L"value");
    EXPECT_EQ(TextField(L"a\nb\nc", 3, L"\n"), L"c");
}

TEST(TextToInteger, ReadsDecimalHexAndBinary) {
    struct Row {
        const wchar_t* text;
        long long value;
    } rows[] = {
        {L"42", 42},           {L"  \t-17abc", -17},    {L"+5", 5},       {L"$FF", 255},
        {L"$ff", 255},         {L"-$10", -16},          {L"%1011", 11},   {L"%102", 2},
        {L"- 5", 0},           {L"+ 5", 0},             {L"", 0},         {L"abc", 0},
        {L"  2026\r", 2026},   {L"9223372036854775807", 9223372036854775807LL},
        {L"18446744073709551615", -1},                  // wraps modulo 2^64
        {L"18446744073709551617", 1},
    };
    for (const Row& row : rows) EXPECT_EQ(TextToInteger(row.text), row.value) << "for \"" << row.text << "\"";
}

TEST(TextFromNumbers, Integers) {
    EXPECT_EQ(TextFromInteger(0), L"0");
    EXPECT_EQ(TextFromInteger(-1234), L"-1234");
    EXPECT_EQ(TextFromInteger(5368709120LL), L"5368709120");
}
