// The fast scan against the walk, on NTFS images made by ntfs-3g: drive N:
// (tests/support/make-ntfs-image.sh), whose folders the walk reads and whose
// file table the fast scan reads, and Y:, a long-used volume whose table keeps
// its own attribute list.
#include "search/volume_table_support.h"

#include <gtest/gtest.h>

TEST(VolumeTable, GivesTheWalksCollectionEntryForEntry) {
    const struct {
        long long threshold;
        const wchar_t* text;
    } modes[] = {{-1, L""}, {104857600, L""}, {-1, L"name"}, {-1, L"ö"}};
    for (const auto& mode : modes) {
        for (bool withWindows : {false, true}) {
            SCOPED_TRACE(testing::Message() << "threshold " << mode.threshold << ", text "
                                            << testing::PrintToString(std::wstring(mode.text)) << ", Windows folder "
                                            << withWindows);
            const WalkRequest request = requestFor(L"N:\\", mode.threshold, mode.text, withWindows);
            NeverStop never;
            FoundFiles scanned, walked;
            ASSERT_EQ(scanVolumeTable(request, never, scanned), TableScan::done);
            ASSERT_EQ(walkDrive(request, never, walked), WalkEnd::reachedTheEnd);
            const Listing fromTable = listed(scanned), fromWalk = listed(walked);
            EXPECT_GT(fromWalk.size(), 0u);
            EXPECT_EQ(differences(fromTable, fromWalk), std::vector<std::wstring>{});
            // Largest first, as the walk sorts them.
            const std::vector<std::wstring> texts = foundTexts(scanned);
            for (size_t i = 1; i < texts.size(); ++i) EXPECT_GE(texts[i - 1].compare(texts[i]), 0);
        }
    }
}

TEST(VolumeTable, HoldsEveryNameOfAFileAndEveryHardToReadFile) {
    const WalkRequest request = requestFor(L"N:\\", -1, L"", true);
    NeverStop never;
    FoundFiles scanned;
    ASSERT_EQ(scanVolumeTable(request, never, scanned), TableScan::done);
    const Listing files = listed(scanned);
    int names = 0;
    for (const auto& [path, file] : files) names += path.rfind(L"N:\\links\\names\\", 0) == 0;
    EXPECT_EQ(names, 400) << "a file with hundreds of names spills into more records";
    EXPECT_EQ(std::get<0>(files.at(L"N:\\sizes\\huge sparse.vhd")), 5368709120LL);
    EXPECT_EQ(std::get<0>(files.at(L"N:\\streams\\with stream.txt")), 50) << "the named stream is not the size";
    EXPECT_EQ(std::get<0>(files.at(L"N:\\frag\\a.bin")), 64 * 65536);
    EXPECT_EQ(files.count(L"N:\\gone\\deleted.txt"), 0u);
    EXPECT_EQ(files.count(L"N:\\$MFT"), 0u);
    EXPECT_EQ(files.count(L"N:\\names\\Björk – Jóga.mp3"), 1u);
}

TEST(VolumeTable, ReadsTheTableOfALongUsedVolume) {
    NeverStop never;
    for (long long threshold : {-1LL, 104857600LL}) {
        SCOPED_TRACE(threshold);
        const WalkRequest request = requestFor(L"Y:\\", threshold, L"", true);
        FoundFiles scanned, walked;
        ASSERT_EQ(scanVolumeTable(request, never, scanned), TableScan::done)
            << "a table in a thousand pieces, listed in its own attribute list, is read";
        ASSERT_EQ(walkDrive(request, never, walked), WalkEnd::reachedTheEnd);
        EXPECT_GT(walked.count(), threshold < 0 ? 5000u : 0u);
        EXPECT_EQ(differences(listed(scanned), listed(walked)), std::vector<std::wstring>{});
    }
}

// Escape during the scan ends it there, and what was found is kept, each file
// as the whole scan finds it.
TEST(VolumeTable, AStoppedScanKeepsWhatItFound) {
    struct StopAfter final : WalkObserver {
        int left = 60;
        bool stopRequested() override { return --left < 0; }
    } escape;
    NeverStop never;
    const WalkRequest request = requestFor(L"N:\\", -1, L"", true);
    FoundFiles partial, whole;
    ASSERT_EQ(scanVolumeTable(request, escape, partial), TableScan::stopped);
    ASSERT_EQ(scanVolumeTable(request, never, whole), TableScan::done);
    const Listing found = listed(partial), all = listed(whole);
    EXPECT_GT(found.size(), 0u);
    EXPECT_LT(found.size(), all.size());
    for (const auto& [path, file] : found) EXPECT_EQ(all.count(path) ? all.at(path) : decltype(file){}, file) << path;
}
