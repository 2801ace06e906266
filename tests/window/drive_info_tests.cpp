#include "window/drive_info.h"

#include "support/fixture.h"
#include "toolkit/file_ops.h"
#include "toolkit/listing.h"

#include <gtest/gtest.h>

#include <set>

TEST(DriveItemText, LabelAndFreeShare) {
    DriveInfo info;
    info.label = L"System";
    info.totalBytes = 1000;
    info.freeBytes = 379;
    EXPECT_EQ(driveItemText(L'C', info), L"C:  (System, 37% free)");
    info.label = L"";
    EXPECT_EQ(driveItemText(L'C', info), L"C:  (37% free)");
    info.totalBytes = 5368709120LL * 100;
    info.freeBytes = 5368709120LL * 100;
    EXPECT_EQ(driveItemText(L'D', info), L"D:  (100% free)");
    info.totalBytes = 0;
    EXPECT_EQ(driveItemText(L'E', info), L"E:  (free space unknown)");
    info.totalBytes.reset();
    info.freeBytes.reset();
    info.label = L"Backup";
    EXPECT_EQ(driveItemText(L'F', info), L"F:  (Backup, free space unknown)");
}

namespace {

std::set<std::wstring> folderFiles(const std::wstring& folder) {
    std::set<std::wstring> names;
    FolderListing listing(folder, L"");
    while (listing.next())
        if (listing.kind() == EntryKind::file) names.insert(std::wstring(listing.name()));
    return names;
}

}  // namespace

TEST(ReadDriveInfo, FixtureDrivesAndLettersThatAreNoDrive) {
    const DriveInfo info = readDriveInfo(L"d");
    EXPECT_TRUE(info.label);
    EXPECT_GT(info.totalBytes.value_or(0), 0);
    EXPECT_GE(info.freeBytes.value_or(-1), 0);
    EXPECT_EQ(info.writable, Writable::yes);
    // Judged in a folder of this test's own: a drive root also holds, for a
    // moment, the probes of the windows other tests start meanwhile.
    const std::wstring folder = makeFixtureFolder();
    EXPECT_TRUE(FolderWritable(folder));
    EXPECT_TRUE(folderFiles(folder).empty()) << "the probe file is never left behind";

    const DriveInfo noDrive = readDriveInfo(L"Z");
    EXPECT_FALSE(noDrive.label);
    EXPECT_EQ(noDrive.writable, Writable::notProbed);
    const DriveInfo share = readDriveInfo(L"\\\\server\\share");
    EXPECT_FALSE(share.label);
    EXPECT_FALSE(share.totalBytes);
    EXPECT_EQ(share.writable, Writable::notProbed);
}

TEST(ReadDriveInfo, ReadOnlyRootIsListedButNotWritable) {
    // R: is a fixture drive whose root nobody may write to.
    const DriveInfo info = readDriveInfo(L"R:");
    EXPECT_TRUE(info.label);
    EXPECT_EQ(info.writable, Writable::no);
}

TEST(ReadDriveInfo, AFolderWhereFilesCannotBeRemovedIsNotWritable) {
    const std::wstring folder = L"D:\\native\\append-only\\";
    EXPECT_FALSE(FolderWritable(folder)) << "every start would leave another probe there";
}
