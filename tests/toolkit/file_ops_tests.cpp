#include "toolkit/file_ops.h"

#include "support/fixture.h"
#include "toolkit/handles.h"
#include "toolkit/paths.h"

#include <gtest/gtest.h>

TEST(FileRemove, ReadOnlyNeedsForce) {
    std::wstring folder = makeFixtureFolder();
    std::wstring file = folder + L"locked.txt";
    makeTextFile(file, "data");
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));

    EXPECT_FALSE(FileRemove(file));
    EXPECT_EQ(readBytes(file), "data");
    EXPECT_TRUE(FileRemove(file, removeForce));
    EXPECT_FALSE(exists(file));
    EXPECT_FALSE(FileRemove(file, removeForce)) << "nothing left to remove";
}

TEST(FileRemove, FailedForcedDeleteKeepsTheFileAsItWas) {
    std::wstring folder = makeFixtureFolder();
    std::wstring file = folder + L"in use.txt";
    makeTextFile(file, "busy");
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    {
        FileHandle held(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.valid());
        EXPECT_FALSE(FileRemove(file, removeForce));
    }
    EXPECT_EQ(readBytes(file), "busy");
    EXPECT_EQ(PathAttributes(file) & 1, 1) << "the read-only attribute is restored";
}

TEST(FileRemove, NeverRemovesAFolder) {
    std::wstring folder = makeFixtureFolder();
    makeFolder(folder + L"sub");
    EXPECT_FALSE(FileRemove(folder + L"sub", removeForce));
    EXPECT_TRUE(exists(folder + L"sub"));
}

TEST(FolderRemove, RemovesEverythingRecursivelyWithForce) {
    std::wstring folder = makeFixtureFolder() + L"tree";
    makeFolder(folder);
    makeFolder(folder + L"\\a");
    makeFolder(folder + L"\\a\\b");
    makeFolder(folder + L"\\.cache");
    makeTextFile(folder + L"\\top.txt", "1");
    makeTextFile(folder + L"\\a\\b\\deep.txt", "2");
    makeTextFile(folder + L"\\.cache\\c.txt", "3");
    makeTextFile(folder + L"\\a\\ro.txt", "4");
    ASSERT_TRUE(SetFileAttributesW((folder + L"\\a\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_TRUE(FolderRemove(folder, L"", removeRecursive | removeForce));
    EXPECT_FALSE(exists(folder));
}

TEST(FolderRemove, AFileInUseKeepsItsFoldersAndTheRestGoes) {
    std::wstring folder = makeFixtureFolder() + L"tree";
    makeFolder(folder);
    makeFolder(folder + L"\\held");
    makeFolder(folder + L"\\other");
    makeTextFile(folder + L"\\held\\open.txt", "open");
    makeTextFile(folder + L"\\held\\closed.txt", "closed");
    makeTextFile(folder + L"\\other\\x.txt", "x");
    makeTextFile(folder + L"\\y.txt", "y");

    FileHandle held(CreateFileW((folder + L"\\held\\open.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.valid());
    EXPECT_FALSE(FolderRemove(folder + L"\\", L"", removeRecursive | removeForce));
    EXPECT_EQ(readBytes(folder + L"\\held\\open.txt"), "open");
    EXPECT_FALSE(exists(folder + L"\\held\\closed.txt"));
    EXPECT_FALSE(exists(folder + L"\\other"));
    EXPECT_FALSE(exists(folder + L"\\y.txt"));
}

TEST(FolderRemove, MissingFolderIsLeftAloneAndFails) {
    EXPECT_FALSE(FolderRemove(L"", L"", 3));
    EXPECT_FALSE(FolderRemove(L"D:\\no such folder", L"", 3));
    EXPECT_FALSE(FolderRemove(L"X:\\temp", L"", 3));
}

// The tree and its links are laid out natively (tests/support/make-native-fixtures.sh):
// D:\native\purge\ holds a link to E:\native\outside\ and one to an empty folder.
TEST(FolderRemove, NeverFollowsALinkOutOfTheFolder) {
    const std::wstring purge = L"D:\\native\\purge";
    ASSERT_TRUE(exists(purge + L"\\sub\\link-to-outside")) << "native fixtures missing";
    ASSERT_TRUE(exists(L"E:\\native\\outside\\precious.txt"));

    int removed = FolderRemove(purge, L"", removeRecursive | removeForce);

    EXPECT_EQ(readBytes(L"E:\\native\\outside\\precious.txt"), "keep me");
    EXPECT_EQ(readBytes(L"E:\\native\\outside\\deeper\\precious2.txt"), "keep me too");
    EXPECT_TRUE(exists(L"E:\\native\\empty-outside")) << "an empty folder behind a link is not removed";
    EXPECT_FALSE(exists(purge + L"\\a.txt"));
    EXPECT_FALSE(exists(purge + L"\\sub\\b.txt"));
    // Where the system can remove a link as a link, the whole folder goes;
    // where it cannot, the links stay and so do the folders holding them.
    EXPECT_EQ(removed != 0, !exists(purge));
    if (exists(purge)) {
        EXPECT_TRUE(exists(purge + L"\\sub\\link-to-outside"));
    }
}

TEST(FolderMake, MakesOneLevelIgnoringTrailingSeparators) {
    std::wstring folder = makeFixtureFolder();
    EXPECT_TRUE(FolderMake(folder + L"new \\/ "));
    EXPECT_EQ(PathSize(folder + L"new"), sizeFolder);
    EXPECT_FALSE(FolderMake(folder + L"a\\b")) << "the parent must exist";
    EXPECT_FALSE(FolderMake(L"  "));
}

TEST(SpecialFolders, ProfileAndTempEndInBackslash) {
    std::wstring profile = ProfileFolder();
    ASSERT_FALSE(profile.empty());
    EXPECT_EQ(profile.back(), L'\\');
    std::wstring temp = TempFilesFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), L'\\');
    EXPECT_EQ(PathSize(temp), sizeFolder);
    EXPECT_EQ(temp.find(L'~'), std::wstring::npos) << "long form";
}
