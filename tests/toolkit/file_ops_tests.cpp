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

TEST(FolderRemove, WhatStaysKeepsItsAttributes) {
    const std::wstring folder = makeFixtureFolder() + L"kept";
    makeFolder(folder);
    makeTextFile(folder + L"\\open.txt", "open");
    // Hidden first: Wine cannot mark a file hidden once it is read-only.
    ASSERT_TRUE(SetFileAttributesW((folder + L"\\open.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesW((folder + L"\\open.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_EQ(PathAttributes(folder + L"\\open.txt") & 3, 3);
    FileHandle held(CreateFileW((folder + L"\\open.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.valid());
    EXPECT_FALSE(FolderRemove(folder, L"", removeRecursive | removeForce));
    EXPECT_EQ(PathAttributes(folder + L"\\open.txt") & 3, 3) << "still read-only and hidden";
}

// Names that Linux tools and archives leave on Windows disks: the ordinary path
// rules drop a trailing dot or blank and would reach the neighbour.
TEST(ExactNames, TrailingDotsAndBlanksReachOnlyTheirOwnFile) {
    const std::wstring folder = makeFixtureFolder();
    makeTextFile(folder + L"report", "plain");
    makeTextFile(folder + L"report.", "dotted!");
    makeTextFile(folder + L"notes", "n");
    makeTextFile(folder + L"notes ", "blank");
    EXPECT_EQ(PathSize(folder + L"report."), 7);
    EXPECT_EQ(PathSize(folder + L"report"), 5);
    EXPECT_TRUE(FileRemove(folder + L"report."));
    EXPECT_EQ(readBytes(folder + L"report"), "plain");
    EXPECT_EQ(PathSize(folder + L"report."), sizeMissing);
    EXPECT_TRUE(FileRemove(folder + L"notes "));
    EXPECT_EQ(readBytes(folder + L"notes"), "n");
    EXPECT_EQ(PathSize(folder + L"notes "), sizeMissing);
    EXPECT_EQ(PathExactForm(L"D:\\a\\..\\b"), L"D:\\a\\..\\b") << "not a plain path: left as it is";
    EXPECT_EQ(PathExactForm(L"\\\\server\\share\\x."), L"\\\\?\\UNC\\server\\share\\x.");
}

// Indexers and virus scanners hold files open with delete sharing: the delete is
// accepted and the name stays until they let go.
TEST(FileDelete, APendingDeleteIsDoneAndAnUnheldSurvivorIsNot) {
    const std::wstring folder = makeFixtureFolder();
    makeTextFile(folder + L"shared.txt", "shared");
    FileHandle holder(CreateFileW((folder + L"shared.txt").c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
    ASSERT_TRUE(holder.valid());
    EXPECT_EQ(FileDelete(folder + L"shared.txt"), RemoveResult::done);
    holder.reset();
    EXPECT_FALSE(exists(folder + L"shared.txt")) << "gone once the holder let go";
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

TEST(SpecialFolders, TempEndsInBackslash) {
    std::wstring temp = TempFilesFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), L'\\');
    EXPECT_EQ(PathSize(temp), sizeFolder);
    EXPECT_EQ(temp.find(L'~'), std::wstring::npos) << "long form";
}
