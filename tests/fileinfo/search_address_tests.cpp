// The address of a web search carries exactly the name it asks about.
#include "fileinfo/info_command.h"

#include <gtest/gtest.h>

TEST(SearchAddress, CarriesTheExactTextOfEveryName) {
    const std::wstring start = L"http://www.google.com/search?q=";
    const struct {
        const wchar_t* query;
        const wchar_t* sent;
    } rows[] = {
        {L"\"my holiday clip.mp4\"", L"\"my holiday clip.mp4\""},  // as it always was, byte for byte
        {L"what are \"mp4\" files", L"what are \"mp4\" files"},
        {L"\"Tom & Jerry.avi\"", L"\"Tom %26 Jerry.avi\""},
        {L"\"#1 hit.mp3\"", L"\"%231 hit.mp3\""},
        {L"\"C++ notes.txt\"", L"\"C%2B%2B notes.txt\""},
        {L"\"50%.png\"", L"\"50%25.png\""},
        {L"\"a=b?.txt\"", L"\"a%3Db%3F.txt\""},
        {L"\"Björk – Jóga.mp3\"", L"\"Bj%C3%B6rk %E2%80%93 J%C3%B3ga.mp3\""},
        {L"\"日本.txt\"", L"\"%E6%97%A5%E6%9C%AC.txt\""},
        {L"\"\U0001F600.png\"", L"\"%F0%9F%98%80.png\""},  // a pair of 16-bit units, one character
        {L"\"it's (1) [x] {y} ~!$*,;:@.txt\"", L"\"it's (1) [x] {y} ~!$*,;:@.txt\""},
    };
    for (const auto& row : rows) EXPECT_EQ(searchAddress(row.query), start + row.sent) << testing::PrintToString(std::wstring(row.query));
    EXPECT_EQ(searchAddress(std::wstring(1, wchar_t(0xD800)) + L"x"), start + L"%EF%BF%BDx") << "half a pair";
}
