// The fast scan against the walk, on NTFS images made by ntfs-3g: drive N:
// (tests/support/make-ntfs-image.sh), whose folders the walk reads and whose
// file table the fast scan reads, and Y:, a long-used volume whose table keeps
// its own attribute list.
#include "search/volume_table_support.h"
#include "results/totals_csv.h"

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
    // A junction to a folder off the volume is followed as the walk follows it; a
    // folder symbolic link onto the volume adds nothing the table holds once.
    EXPECT_EQ(std::get<0>(files.at(L"N:\\reparse\\junction\\behind the junction.vhd")), 150LL << 20);
    EXPECT_EQ(files.count(L"N:\\reparse\\folder symlink\\small.txt"), 0u);
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
    // The scan asks once a stretch of about a thousand records; the image holds
    // about nine thousand.
    struct StopAfter final : WalkObserver {
        int left = 4;
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

namespace {

// The saved folder sizes and kinds of a search, each line by its first field.
std::map<std::string, std::string> linesByName(const std::string& csv) {
    std::map<std::string, std::string> lines;
    size_t start = csv.find("\r\n") + 2;  // past the header
    while (start < csv.size()) {
        const size_t end = csv.find("\r\n", start);
        const std::string line = csv.substr(start, end - start);
        lines[line.substr(0, line.find(','))] = line;
        start = end + 2;
    }
    return lines;
}

}  // namespace

// Every folder's space on the disk, size, files, folders and latest change, and
// every kind, the same from the table as from the walk: two names of a file in
// two folders, sparse files, a file of 400 names, a table in a thousand pieces.
// ntfs-3g keeps a folder link as a file of reparse data where Wine's walk sees a
// Linux link (see listed()): the folders on the way to those links are left out
// of the comparison, and the kinds of the two links' names, and the folder the
// file link leads to.
TEST(VolumeTable, TotalsEveryFolderAndKindAsTheWalkDoes) {
    NeverStop never;
    for (const wchar_t* root : {L"N:\\", L"Y:\\"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(root)));
        WalkRequest request = requestFor(root, 104857600, L"", false);
        SearchResults scanned, walked;
        request.totals = &scanned.totals;
        ASSERT_EQ(scanVolumeTable(request, never, scanned.found), TableScan::done);
        request.totals = &walked.totals;
        ASSERT_EQ(walkDrive(request, never, walked.found), WalkEnd::reachedTheEnd);
        const auto fromTable = linesByName(*folderSizesCsv(scanned).bytes()), fromWalk = linesByName(*folderSizesCsv(walked).bytes());
        EXPECT_GT(fromWalk.size(), 3u);
        const bool imageWithLinks = root[0] == L'N';
        auto leftOut = [&](const std::string& folder) {
            // The walk meets sizes\small.txt through the file link too, as the same file.
            return imageWithLinks &&
                   (folder == "N:\\" || folder == "N:\\sizes" || folder.rfind("N:\\gone", 0) == 0 ||
                    folder.rfind("N:\\.NTFS-3G", 0) == 0);
        };
        for (const auto& [folder, line] : fromWalk) {
            if (leftOut(folder)) continue;
            EXPECT_EQ(fromTable.count(folder) ? fromTable.at(folder) : std::string("missing"), line);
        }
        for (const auto& [folder, line] : fromTable) {
            if (leftOut(folder)) continue;
            EXPECT_EQ(fromWalk.count(folder), 1u) << line;
        }
        auto kindsTable = linesByName(*fileKindsCsv(scanned.totals).bytes()), kindsWalk = linesByName(*fileKindsCsv(walked.totals).bytes());
        if (imageWithLinks) {
            for (auto* kinds : {&kindsTable, &kindsWalk}) {
                kinds->erase("txt");
                kinds->erase("");
            }
        }
        EXPECT_EQ(kindsTable, kindsWalk);
        if (imageWithLinks) {
            // 401 names of one 4 KB file, counted once, under the folder that sorts first.
            EXPECT_EQ(fromTable.at("N:\\links").rfind("N:\\links,4096,4096,1,1,", 0), 0u) << fromTable.at("N:\\links");
            EXPECT_EQ(fromTable.at("N:\\links\\names"), "N:\\links\\names,0,0,0,0,");
            // A sparse file of 5 GB takes next to nothing.
            EXPECT_LT(std::stoll(fromTable.at("N:\\sizes").substr(9)), 64LL << 20);
        }
    }
}
