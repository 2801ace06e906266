#include "toolkit/text_file.h"

#include "support/fixture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace {

std::vector<std::wstring> readAllLines(const std::wstring& path) {
    std::vector<std::wstring> lines;
    int file = TextFileOpen(anyFileNumber, path);
    EXPECT_NE(file, 0);
    while (!TextFileAtEnd(file)) lines.push_back(TextFileReadLine(file));
    TextFileClose(file);
    return lines;
}

}  // namespace

TEST(TextFile, WritesUtf8WithCrLfAndReadsItBack) {
    std::wstring path = makeFixtureFolder() + L"lines.ini";
    ASSERT_TRUE(TextFileCreate(7, path));
    TextFileWriteLine(7, L"Update_Check = 2026");
    TextFileWriteLine(7, L"");
    TextFileWriteLine(7, L"Gr\u00fc\u00dfe \u20ac \U0001F600");
    TextFileClose(7);

    EXPECT_EQ(readBytes(path), "Update_Check = 2026\r\n\r\nGr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac \xf0\x9f\x98\x80\r\n");
    EXPECT_EQ(readAllLines(path),
              (std::vector<std::wstring>{L"Update_Check = 2026", L"", L"Gr\u00fc\u00dfe \u20ac \U0001F600"}));
}

TEST(TextFile, ReadsEveryKindOfLineEnd) {
    std::wstring path = makeFixtureFolder() + L"ends.txt";
    makeTextFile(path, "lf\ncrlf\r\ncr\rlast");
    EXPECT_EQ(readAllLines(path), (std::vector<std::wstring>{L"lf", L"crlf", L"cr", L"last"}));
    makeTextFile(path, "\r\r\n\n");
    EXPECT_EQ(readAllLines(path), (std::vector<std::wstring>{L"", L"", L""}));
}

TEST(TextFile, LongLinesByteOrderMarkAndBadBytes) {
    std::wstring path = makeFixtureFolder() + L"long.txt";
    std::string longLine(10000, 'x');
    makeTextFile(path, "\xef\xbb\xbf" + longLine + "\n\xff\xc3(end");
    auto lines = readAllLines(path);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::wstring(10000, L'x'));
    EXPECT_EQ(lines[1], L"\uFFFD\uFFFD(end");
}

TEST(TextFile, CreateEmptiesHiddenFilesAndOpenFailsOnMissing) {
    std::wstring folder = makeFixtureFolder();
    std::wstring path = folder + L"hidden.ini";
    makeTextFile(path, "old contents that are longer");
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    int file = TextFileCreate(anyFileNumber, path);
    ASSERT_NE(file, 0);
    TextFileWriteLine(file, L"new");
    TextFileClose(file);
    EXPECT_EQ(readBytes(path), "new\r\n");

    EXPECT_EQ(TextFileOpen(anyFileNumber, folder + L"missing.ini"), 0);
    EXPECT_EQ(TextFileCreate(3, folder + L"no\\such\\folder.ini"), 0);
    EXPECT_EQ(TextFileReadLine(3), L"");
    EXPECT_TRUE(TextFileAtEnd(3));
}

TEST(TextFile, CloseAllWritesOutEveryBuffer) {
    std::wstring folder = makeFixtureFolder();
    ASSERT_TRUE(TextFileCreate(1, folder + L"a.txt"));
    ASSERT_TRUE(TextFileCreate(2, folder + L"b.txt"));
    TextFileWriteLine(1, L"a");
    TextFileWriteLine(2, L"b");
    TextFileClose(-1);
    EXPECT_EQ(readBytes(folder + L"a.txt"), "a\r\n");
    EXPECT_EQ(readBytes(folder + L"b.txt"), "b\r\n");
}
