#include "toolkit/listing.h"

#include "support/fixture.h"
#include "toolkit/later_calls.h"
#include "toolkit/native.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

std::map<std::wstring, std::pair<EntryKind, long long>> listAll(FolderListing& listing) {
    std::map<std::wstring, std::pair<EntryKind, long long>> entries;
    while (listing.next()) entries[std::wstring(listing.name())] = {listing.kind(), listing.size()};
    return entries;
}

}  // namespace

TEST(Listing, HandsOutFilesFoldersAndDots) {
    std::wstring folder = makeFixtureFolder();
    makeSizedFile(folder + L"big.bin", 5368709120LL);
    makeSizedFile(folder + L"Grüße – notes.txt", 12);
    makeFolder(folder + L"sub");

    FolderListing listing(folder, L"");
    ASSERT_TRUE(listing.isOpen());
    auto entries = listAll(listing);
    EXPECT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[L"."].first, EntryKind::folder);
    EXPECT_EQ(entries[L".."].first, EntryKind::folder);
    EXPECT_EQ(entries[L"sub"].first, EntryKind::folder);
    EXPECT_EQ(entries[L"big.bin"], std::make_pair(EntryKind::file, 5368709120LL));
    EXPECT_EQ(entries[L"Grüße – notes.txt"], std::make_pair(EntryKind::file, 12LL));
}

TEST(Listing, EmptyFolderAndUnmatchedPatternSucceedEmpty) {
    std::wstring folder = makeFixtureFolder();
    FolderListing all(folder, L"*.*");
    ASSERT_TRUE(all.isOpen());
    EXPECT_EQ(listAll(all).size(), 2u) << "only . and ..";
    FolderListing unmatched(folder, L"*.nothing");
    ASSERT_TRUE(unmatched.isOpen());
    EXPECT_FALSE(unmatched.next());
    FolderListing root(L"R:\\", L"");  // an empty drive root has no dots (and no other test's probe file)
    ASSERT_TRUE(root.isOpen());
    EXPECT_FALSE(root.next());
}

TEST(Listing, FailuresLeaveNoListing) {
    FolderListing missing(L"D:\\no such folder\\", L"");
    EXPECT_FALSE(missing.isOpen());
    EXPECT_FALSE(missing.next());
    EXPECT_EQ(missing.size(), 0);
    EXPECT_EQ(missing.name(), L"");
    EXPECT_FALSE(FolderListing(L"X:\\", L"").isOpen()) << "drive not ready";
    EXPECT_FALSE(FolderListing(L"D:\\native\\walk\\locked\\", L"").isOpen()) << "folder nobody may read";
}

TEST(Listing, ListingsAreIndependentAndGoOnWhenMoved) {
    std::wstring a = makeFixtureFolder();
    makeSizedFile(a + L"only.txt", 1);
    ListingBuffer shared;
    FolderListing one(a, L"only.txt"), every(a, L"*.*", &shared);
    ASSERT_TRUE(one.next());
    EXPECT_EQ(one.name(), L"only.txt");
    FolderListing moved = std::move(every);
    ASSERT_TRUE(moved.next());
    EXPECT_FALSE(every.isOpen());
    EXPECT_EQ(listAll(moved).size(), 2u) << "the rest of ., .. and only.txt";
    EXPECT_FALSE(one.next());
}

namespace {

// The batched reads, counted, and failing once the first batch has been read
// when asked to, as a network file system may: the listing then goes on with
// the find calls.
int batchReads = 0;
bool failAfterFirstBatch = false;
BOOL WINAPI countedBatchRead(HANDLE folder, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID buffer, DWORD size) {
    if (++batchReads > 1 && failAfterFirstBatch) {
        SetLastError(ERROR_UNEXP_NET_ERR);
        return FALSE;
    }
    return getFileInformationByHandleEx()(folder, kind, buffer, size);
}

}  // namespace

TEST(Listing, AFolderLargerThanOneBatchGivesEachEntryOnceEvenWhenTheBatchesFailMidWay) {
    // Long names: a few thousand entries fill several of the batched reads.
    const std::wstring folder = makeFixtureFolder();
    const std::wstring stem(120, L'n');
    for (int i = 0; i < 3000; ++i) makeSizedFile(folder + stem + std::to_wstring(i), i);
    for (const bool failing : {false, true}) {
        batchReads = 0;
        failAfterFirstBatch = failing;
        batchReadCall() = countedBatchRead;
        FolderListing listing(folder, L"*.*");
        ASSERT_TRUE(listing.isOpen());
        std::set<std::wstring> names;
        long long sizes = 0;
        int entries = 0;
        while (listing.next()) {
            ++entries;
            names.insert(std::wstring(listing.name()));
            if (listing.kind() == EntryKind::file) sizes += listing.size();
        }
        batchReadCall() = getFileInformationByHandleEx();
        if (failing) {
            EXPECT_EQ(batchReads, 2) << "one batch read, then the failure";
        } else {
            EXPECT_GE(batchReads, 3) << "about a megabyte of entries, in several batches";
        }
        EXPECT_EQ(entries, 3002) << "every file, . and .., each once; failing " << failing;
        EXPECT_EQ(names.size(), 3002u);
        EXPECT_EQ(sizes, 2999LL * 3000 / 2);
    }
}
