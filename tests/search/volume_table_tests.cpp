// The fast scan against the walk, on an NTFS image made by ntfs-3g: drive N:
// (tests/support/make-ntfs-image.sh), whose folders the walk reads and whose
// file table the fast scan reads.
#include "search/search_command.h"
#include "search/search_state.h"
#include "search/volume_table.h"
#include "search/walk.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

struct NeverStop final : WalkObserver {
    bool stopRequested() override { return false; }
};

// Path -> size, last write and entry text. The two links are left out of both:
// ntfs-3g stores them as files with reparse data, which Windows lists as such,
// while the walk under Wine follows them as Linux links.
using Listing = std::map<std::wstring, std::tuple<long long, long long, std::wstring>>;

Listing listed(const std::vector<CollectedEntry>& collection, int count) {
    Listing files;
    for (int i = 1; i <= count; ++i) {
        const CollectedEntry& entry = collection[static_cast<size_t>(i)];
        const std::wstring path = entry.text.substr(entry.text.rfind(L'\n') + 1);
        if (path == L"N:\\gone\\file link.txt" || path == L"N:\\gone\\folder link") continue;
        files[path] = {entry.identity.size, entry.identity.lastWrite, entry.text};
    }
    return files;
}

WalkRequest requestFor(const std::wstring& root, long long threshold, const std::wstring& text, bool withWindows) {
    WalkRequest request;
    request.rootPath = root;
    request.sizeThreshold = threshold;
    request.nameTest = !text.empty();
    request.nameText = text;
    if (!withWindows) request.windowsFolderPrefix = L"n:\\windows\\";
    return request;
}

// The entries one listing has and the other has not, or has otherwise: empty when equal.
std::vector<std::wstring> differences(const Listing& table, const Listing& walk) {
    std::vector<std::wstring> found;
    for (const auto& [path, file] : table) {
        auto other = walk.find(path);
        if (other == walk.end()) found.push_back(L"only in the table: " + std::get<2>(file));
        else if (other->second != file) found.push_back(L"unlike the walk: " + std::get<2>(file));
    }
    for (const auto& [path, file] : walk)
        if (!table.count(path)) found.push_back(L"only in the walk: " + std::get<2>(file));
    if (found.size() > 12) found.resize(12);
    return found;
}

}  // namespace

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
            std::vector<CollectedEntry> scanned, walked;
            std::vector<FoundOrigin> scannedOrigins, walkedOrigins;
            int scannedCount = 0, walkedCount = 0;
            ASSERT_EQ(scanVolumeTable(request, never, scanned, scannedCount, scannedOrigins), TableScan::done);
            ASSERT_TRUE(walkDrive(request, never, walked, walkedCount, walkedOrigins));
            const Listing fromTable = listed(scanned, scannedCount), fromWalk = listed(walked, walkedCount);
            EXPECT_GT(fromWalk.size(), 0u);
            EXPECT_EQ(differences(fromTable, fromWalk), std::vector<std::wstring>{});
            // Largest first, as the walk sorts them.
            for (int i = 2; i <= scannedCount; ++i)
                EXPECT_GE(scanned[static_cast<size_t>(i - 1)].text.compare(scanned[static_cast<size_t>(i)].text), 0);
        }
    }
}

TEST(VolumeTable, HoldsEveryNameOfAFileAndEveryHardToReadFile) {
    const WalkRequest request = requestFor(L"N:\\", -1, L"", true);
    NeverStop never;
    std::vector<CollectedEntry> scanned;
    std::vector<FoundOrigin> origins;
    int count = 0;
    ASSERT_EQ(scanVolumeTable(request, never, scanned, count, origins), TableScan::done);
    const Listing files = listed(scanned, count);
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

// Each way a table can be wrong makes the scan give nothing, and a search walks.
TEST(VolumeTable, AWrongTableIsNeverTrustedAndTheSearchWalks) {
    NeverStop never;
    for (const wchar_t* drive : {L"H:\\", L"I:\\", L"J:\\", L"R:\\"}) {  // R: is a folder: no table at all
        SCOPED_TRACE(testing::PrintToString(std::wstring(drive)));
        const WalkRequest request = requestFor(drive, -1, L"", true);
        std::vector<CollectedEntry> scanned, walked;
        std::vector<FoundOrigin> origins;
        int scannedCount = 0, walkedCount = 0;
        EXPECT_EQ(scanVolumeTable(request, never, scanned, scannedCount, origins), TableScan::unavailable);
        ASSERT_TRUE(walkDrive(request, never, walked, walkedCount, origins));
        SearchResults results;
        collectFiles(request, results);
        EXPECT_EQ(differences(listed(results.collection, results.collectedCount), listed(walked, walkedCount)),
                  std::vector<std::wstring>{});
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
    std::vector<CollectedEntry> partial, whole;
    std::vector<FoundOrigin> origins;
    int partialCount = 0, wholeCount = 0;
    ASSERT_EQ(scanVolumeTable(request, escape, partial, partialCount, origins), TableScan::stopped);
    ASSERT_EQ(scanVolumeTable(request, never, whole, wholeCount, origins), TableScan::done);
    const Listing found = listed(partial, partialCount), all = listed(whole, wholeCount);
    EXPECT_GT(found.size(), 0u);
    EXPECT_LT(found.size(), all.size());
    for (const auto& [path, file] : found) EXPECT_EQ(all.count(path) ? all.at(path) : decltype(file){}, file) << path;
}
