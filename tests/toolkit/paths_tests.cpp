#include "toolkit/paths.h"

#include "support/fixture.h"

#include <gtest/gtest.h>

TEST(PathParts, NameFolderAndExtension) {
    struct Row {
        const wchar_t* path;
        const wchar_t* name;
        const wchar_t* folder;
        const wchar_t* extension;
    } rows[] = {
        {L"C:\\Data\\disk.img", L"disk.img", L"C:\\Data\\", L"img"},
        {L"C:\\Data\\report.final.pdf", L"report.final.pdf", L"C:\\Data\\", L"pdf"},
        {L"C:\\Data\\archive", L"archive", L"C:\\Data\\", L""},
        {L"C:\\home\\.profile", L".profile", L"C:\\home\\", L""},
        {L".profile", L".profile", L"", L""},
        {L"C:\\x\\name.tar gz", L"name.tar gz", L"C:\\x\\", L""},
        {L"C:\\my.folder\\readme", L"readme", L"C:\\my.folder\\", L""},
        {L"D:/mixed/slash.txt", L"slash.txt", L"D:/mixed/", L"txt"},
        {L"\"C:\\Program Files\\App.exe\" -x", L"App.exe", L"C:\\Program Files\\", L""},
        {L"\"C:\\a b\\c.txt\"", L"c.txt", L"C:\\a b\\", L"txt"},
        {L"plain.doc", L"plain.doc", L"", L"doc"},
        {L"C:\\dir\\", L"", L"C:\\dir\\", L""},
        {L"C:\\a|b\\c", L"c", L"C:\\", L""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(PathNamePart(row.path), row.name) << "name of " << testing::PrintToString(std::wstring(row.path));
        EXPECT_EQ(PathFolderPart(row.path), row.folder) << "folder of " << testing::PrintToString(std::wstring(row.path));
        EXPECT_EQ(PathExtensionPart(row.path), row.extension) << "extension of " << testing::PrintToString(std::wstring(row.path));
    }
}

TEST(PathSize, DriveRootsFoldersAndMissingPaths) {
    EXPECT_EQ(PathSize(L"D:"), sizeFolder);
    EXPECT_EQ(PathSize(L"D:\\"), sizeFolder);
    EXPECT_EQ(PathSize(L"Z:\\"), sizeMissing);
    EXPECT_EQ(PathSize(L""), sizeMissing);
    std::wstring folder = makeFixtureFolder();
    EXPECT_EQ(PathSize(folder), sizeFolder);
    EXPECT_EQ(PathSize(folder.substr(0, folder.size() - 1)), sizeFolder);
    EXPECT_EQ(PathSize(folder + L"missing.bin"), sizeMissing);
    EXPECT_EQ(PathSize(folder + L"no\\such\\place.bin"), sizeMissing);
}

TEST(PathSize, ReportsTrue64BitSizes) {
    std::wstring folder = makeFixtureFolder();
    struct Row {
        const wchar_t* name;
        long long size;
    } rows[] = {
        {L"empty.bin", 0},
        {L"one.bin", 1},
        {L"just-under-4g.bin", 4294967295LL},
        {L"exactly-4g.bin", 4294967296LL},
        {L"five-g.bin", 5368709120LL},
    };
    for (const Row& row : rows) makeSizedFile(folder + row.name, row.size);
    for (const Row& row : rows) EXPECT_EQ(PathSize(folder + row.name), row.size) << testing::PrintToString(std::wstring(row.name));
}

TEST(PathSize, WildcardsNeverReportAnotherFile) {
    std::wstring folder = makeFixtureFolder();
    makeSizedFile(folder + L"real.bin", 77);
    EXPECT_EQ(PathSize(folder + L"*.bin"), sizeMissing);
    EXPECT_EQ(PathSize(folder + L"real.b?n"), sizeMissing);
}

TEST(PathAttributes, ReadsAndSetsTheKnownBits) {
    std::wstring folder = makeFixtureFolder();
    std::wstring file = folder + L"file.txt";
    makeTextFile(file, "x");
    EXPECT_EQ(PathAttributes(folder + L"missing.txt"), -1);
    EXPECT_EQ(PathAttributes(L""), -1);
    ASSERT_TRUE(PathSetAttributes(file, 1));
    EXPECT_EQ(PathAttributes(file) & 1, 1);
    ASSERT_TRUE(PathSetAttributes(file, 0x80));
    EXPECT_EQ(PathAttributes(file) & 1, 0);
    EXPECT_EQ(PathAttributes(folder) & 0x10, 0) << "the directory bit is not part of the mask";
    EXPECT_FALSE(PathSetAttributes(folder + L"missing.txt", 0x80));
}
