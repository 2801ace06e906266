#include "search/match_rules.h"
#include "search/criteria.h"
#include "search/match_rules.h"

#include <gtest/gtest.h>

TEST(ThresholdForCriterion, EachSelectorTextAndAnythingElse) {
    struct Row {
        const wchar_t* text;
        long long threshold;
    } rows[] = {
        {L"For files 100 MB or larger", 104857600},
        {L"For files 256 MB or larger (quarter GB)", 268435456},
        {L"For files 512 MB or larger (half GB)", 536870912},
        {L"For files 650 MB or larger (CD images)", 681574400},
        {L"For files 1 GB or larger", 1073741824},
        {L"For files 4 GB or larger (DVD images)", 4294967296},
        {L"For files with specific text in their name", -1},
        {L"for files 1 GB or larger", -1},
        {L"For files 1 GB or larger ", -1},
        {L"", -1},
    };
    for (const Row& row : rows)
        EXPECT_EQ(thresholdForCriterion(row.text), row.threshold) << testing::PrintToString(std::wstring(row.text));
}

TEST(NameMatches, IgnoresCaseAndTakesTheTextAsItStands) {
    const std::wstring name = L"Song.Mp3";
    struct Row {
        const wchar_t* search;
        bool matches;
    } rows[] = {
        {L"mp3", true},         {L"song", true},       {L"song.mp3", true},  {L".mp3", true},
        {L"songs", false},      {L"music", false},     {L"*.mp3", false},    {L"", false},
        {L" song", false},      {L"g.m", true},        {L"mp4", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(nameMatches(name, row.search), row.matches) << testing::PrintToString(std::wstring(row.search));
    EXPECT_TRUE(nameMatches(L"my file.txt", L"y f"));
    EXPECT_TRUE(nameMatches(L"\u00c9T\u00c9.txt", L"\u00e9t\u00e9"));
    EXPECT_TRUE(nameMatches(L"a.mp3.bak", L".mp3"));
}

TEST(WindowsFolder, PrefixTestIncludesDriveAndBackslash) {
    const std::wstring windows = folderPrefixOf(L"C:\\Windows");
    EXPECT_EQ(windows, L"c:\\windows\\");
    EXPECT_EQ(folderPrefixOf(L"C:\\Windows\\"), windows);
    EXPECT_TRUE(isInFolder(L"C:\\Windows\\", windows));
    EXPECT_TRUE(isInFolder(L"C:\\WINDOWS\\System32\\", windows));
    EXPECT_FALSE(isInFolder(L"C:\\Windows.old\\", windows));
    EXPECT_FALSE(isInFolder(L"D:\\Windows\\", windows));
    EXPECT_FALSE(isInFolder(L"C:\\", windows));
    EXPECT_FALSE(isInFolder(L"C:\\", folderPrefixOf(L""))) << "an unknown Windows folder excludes nothing";
}
