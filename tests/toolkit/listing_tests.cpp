#include "toolkit/listing.h"

#include "support/fixture.h"
#include "toolkit/later_calls.h"
#include "toolkit/native.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

std::map<std::wstring, std::pair<int, long long>> listAll(int number) {
    std::map<std::wstring, std::pair<int, long long>> entries;
    while (ListingNext(number)) entries[ListingEntryName(number)] = {ListingEntryKind(number), ListingEntrySize(number)};
    return entries;
}

}  // namespace

TEST(Listing, HandsOutFilesFoldersAndDots) {
    std::wstring folder = makeFixtureFolder();
    makeSizedFile(folder + L"big.bin", 5368709120LL);
    makeSizedFile(folder + L"Grüße – notes.txt", 12);
    makeFolder(folder + L"sub");

    ASSERT_TRUE(ListingStart(3, folder, L""));
    auto entries = listAll(3);
    ListingFinish(3);
    EXPECT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[L"."].first, listingDirectory);
    EXPECT_EQ(entries[L".."].first, listingDirectory);
    EXPECT_EQ(entries[L"sub"].first, listingDirectory);
    EXPECT_EQ(entries[L"big.bin"], std::make_pair(int(listingFile), 5368709120LL));
    EXPECT_EQ(entries[L"Grüße – notes.txt"], std::make_pair(int(listingFile), 12LL));
}

TEST(Listing, EmptyFolderAndUnmatchedPatternSucceedEmpty) {
    std::wstring folder = makeFixtureFolder();
    ASSERT_TRUE(ListingStart(1, folder, L"*.*"));
    auto entries = listAll(1);
    EXPECT_EQ(entries.size(), 2u) << "only . and ..";
    ASSERT_TRUE(ListingStart(1, folder, L"*.nothing"));
    EXPECT_FALSE(ListingNext(1));
    ListingFinish(1);
    ASSERT_TRUE(ListingStart(2, L"F:\\", L""));  // an empty drive root has no dots
    EXPECT_FALSE(ListingNext(2));
    ListingFinish(2);
}

TEST(Listing, FailuresLeaveNoListing) {
    EXPECT_FALSE(ListingStart(1, L"D:\\no such folder\\", L""));
    EXPECT_FALSE(ListingNext(1));
    EXPECT_FALSE(ListingStart(1, L"X:\\", L"")) << "drive not ready";
    EXPECT_FALSE(ListingStart(1, L"D:\\native\\walk\\locked\\", L"")) << "folder nobody may read";
    EXPECT_EQ(ListingEntryKind(1), listingNone);
    EXPECT_EQ(ListingEntrySize(1), 0);
    EXPECT_EQ(ListingEntryName(1), L"");
}

TEST(Listing, NumbersAreIndependentAndReusable) {
    std::wstring a = makeFixtureFolder();
    makeSizedFile(a + L"only.txt", 1);
    ASSERT_TRUE(ListingStart(40, a, L"only.txt"));  // far past the initial table
    ASSERT_TRUE(ListingStart(41, a, L"*.*"));
    ASSERT_TRUE(ListingNext(40));
    EXPECT_EQ(ListingEntryName(40), L"only.txt");
    EXPECT_EQ(listAll(41).size(), 3u);
    EXPECT_FALSE(ListingNext(40));
    ASSERT_TRUE(ListingStart(40, a, L"only.txt"));  // restarting a number starts afresh
    EXPECT_TRUE(ListingNext(40));
    ListingFinishAll();
    EXPECT_FALSE(ListingNext(40));
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
        ASSERT_TRUE(ListingStart(1, folder, L"*.*"));
        std::set<std::wstring> names;
        long long sizes = 0;
        int entries = 0;
        while (ListingNext(1)) {
            ++entries;
            names.insert(ListingEntryName(1));
            if (ListingEntryKind(1) == listingFile) sizes += ListingEntrySize(1);
        }
        ListingFinish(1);
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
