#include "search/match_rules.h"
#include "search/criteria.h"
#include "search/match_rules.h"
#include "search/search_command.h"

#include "support/fixture.h"
#include "support/found_texts.h"
#include "toolkit/paths.h"
#include "toolkit/listing.h"
#include "toolkit/person.h"
#include "toolkit/text.h"
#include "toolkit/native.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdlib>

namespace {

// Each test walks its own fixture folder with the threshold it sets; the
// Windows folder and its option go back to the start-up state afterwards.
class Walk : public ::testing::Test {
protected:
    void SetUp() override {
        // The suite runs a second time on the find calls alone (see tests/CMakeLists.txt).
        ListingUseBatches(std::getenv("RAVLEK_LISTING_FIND_CALLS") == nullptr);
    }

    // Walks as a search of the window does, with the threshold and option the test set.
    void collectFiles(const std::wstring& root) {
        WalkRequest request;
        request.rootPath = root;
        request.sizeThreshold = sizeThreshold;
        if (!searchWindowsFolder) request.windowsFolderPrefix = folderPrefixOf(windowsFolder);
        ::collectFiles(request, results);
    }

    long long sizeThreshold = -1;
    bool searchWindowsFolder = false;
    std::wstring windowsFolder = L"C:\\windows";
    SearchResults results;

    std::vector<std::wstring> collected() const { return foundTexts(results.found); }
    int collectedCount() const { return static_cast<int>(results.found.count()); }

    std::vector<std::wstring> collectedPaths() const {
        std::vector<std::wstring> paths;
        for (const auto& entry : collected()) paths.push_back(entry.substr(entry.rfind(L'\n') + 1));
        return paths;
    }
};

}  // namespace

TEST_F(Walk, EntryTextHasPaddedSizeSizeTextAndPath) {
    std::wstring root = makeFixtureFolder();
    makeFolder(root + L"Data");
    makeSizedFile(root + L"Data\\disk.img", 1610612736);
    sizeThreshold = 104857600;
    collectFiles(root);
    ASSERT_EQ(collectedCount(), 1);
    EXPECT_EQ(collected()[0], L"          1610612736\n1.50 GB\n" + root + L"Data\\disk.img");
}

TEST_F(Walk, ThresholdIsStrictAndSizesAreSixtyFourBit) {
    std::wstring root = makeFixtureFolder();
    makeSizedFile(root + L"exactly-1g.bin", 1073741824);
    makeSizedFile(root + L"one-more.bin", 1073741825);
    makeSizedFile(root + L"five-g.bin", 5368709120LL);
    makeSizedFile(root + L"small.bin", 10);
    sizeThreshold = thresholdForCriterion(L"For files 1 GB or larger");
    collectFiles(root);
    EXPECT_EQ(collectedPaths(), (std::vector<std::wstring>{root + L"five-g.bin", root + L"one-more.bin"}));
    EXPECT_EQ(collected()[0].substr(0, 20), L"          5368709120");
    EXPECT_EQ(collected()[1].substr(21), L"1024 MB\n" + root + L"one-more.bin");

    sizeThreshold = thresholdForCriterion(L"For files 4 GB or larger (DVD images)");
    collectFiles(root);
    EXPECT_EQ(collectedPaths(), (std::vector<std::wstring>{root + L"five-g.bin"}));
}

TEST_F(Walk, TextModeCollectsEveryFileLargestFirstEqualSizesByPathDescending) {
    std::wstring root = makeFixtureFolder();
    makeFolder(root + L"sub");
    makeFolder(root + L".cache");
    makeSizedFile(root + L"a.dat", 100);
    makeSizedFile(root + L"b.dat", 100);
    makeSizedFile(root + L"B.dat2", 100);
    makeSizedFile(root + L"sub\\empty.txt", 0);
    makeSizedFile(root + L".cache\\blob", 5000);
    makeSizedFile(root + L"sub\\nine.bin", 9);
    collectFiles(root);
    EXPECT_EQ(collectedPaths(), (std::vector<std::wstring>{
                                    root + L".cache\\blob",
                                    root + L"b.dat",
                                    root + L"a.dat",
                                    root + L"B.dat2",
                                    root + L"sub\\nine.bin",
                                    root + L"sub\\empty.txt",
                                }));
    EXPECT_EQ(collected().back().substr(0, 29), L"                   0\n0 bytes\n");
}

TEST_F(Walk, NamesWithBlanksAndNonAsciiLetters) {
    std::wstring root = makeFixtureFolder();
    makeFolder(root + L"Mes documents \u00e9t\u00e9");
    makeSizedFile(root + L"Mes documents \u00e9t\u00e9\\\u0424\u0430\u0439\u043b  two blanks.mp3", 300);
    makeSizedFile(root + L" leading blank.txt", 200);
    collectFiles(root);
    EXPECT_EQ(collectedPaths(), (std::vector<std::wstring>{
                                    root + L"Mes documents \u00e9t\u00e9\\\u0424\u0430\u0439\u043b  two blanks.mp3",
                                    root + L" leading blank.txt",
                                }));
    EXPECT_TRUE(nameMatches(results.found.nameOf(results.found[0]), L"\u0444\u0430\u0439\u043b"));
}

// Found files are kept as numbers and names and sorted by them; what each row
// says, and their order, must stay those of the texts the walk once made and
// sorted: size descending, then the full path descending by 16-bit units.
TEST_F(Walk, ListsAsTheEntryTextsOnceDidWithEqualSizesNonAsciiNamesAndLongPaths) {
    const std::wstring root = makeFixtureFolder();
    std::wstring deep = root;
    for (int level = 0; level < 12; ++level) deep += L"n\u00edvel " + std::to_wstring(level) + L" " + std::wstring(20, L'x') + L"\\";
    std::vector<std::wstring> folders = {root, root + L"a\\", root + L"a b\\", root + L"ab\\", root + L"\u00c9t\u00e9\\",
                                         root + L"\u65e5\u672c\\", deep};
    for (size_t i = 1; i < folders.size(); ++i) {
        for (size_t at = root.size(); at < folders[i].size(); at = folders[i].find(L'\\', at) + 1)
            CreateDirectoryW(PathExactForm(folders[i].substr(0, folders[i].find(L'\\', at))).c_str(), nullptr);
    }
    std::vector<std::pair<std::wstring, long long>> files;
    const wchar_t* names[] = {L"x", L"Xy", L"x.txt", L"xa", L"\u00e9", L"\U0001F600 smile", L"Z"};
    for (const std::wstring& folder : folders)
        for (size_t n = 0; n < std::size(names); ++n)
            files.emplace_back(folder + names[n], n % 3 == 0 ? 4096 : 1536 + static_cast<long long>(n % 2));
    files.emplace_back(root + L"big", 1610612736);
    for (const auto& [path, size] : files) makeSizedFile(path, size);
    ASSERT_GT(deep.size(), 300u);

    std::vector<std::wstring> expected;
    for (const auto& [path, size] : files) {
        wchar_t padded[24];
        swprintf(padded, 24, L"%20lld", size);
        expected.push_back(std::wstring(padded) + L"\n" + sizeText(static_cast<double>(size)) + L"\n" + path);
    }
    std::sort(expected.begin(), expected.end(), [](const std::wstring& a, const std::wstring& b) {
        return std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), [](wchar_t x, wchar_t y) {
            return static_cast<uint16_t>(x) < static_cast<uint16_t>(y);
        });
    });
    collectFiles(root);
    EXPECT_EQ(collected(), expected);
}

TEST_F(Walk, WindowsFolderAndAllBelowItAreSkippedUnlessAsked) {
    std::wstring root = makeFixtureFolder();
    for (auto folder : {L"Windows", L"Windows\\System32", L"Windows.old", L"Other"}) makeFolder(root + folder);
    makeSizedFile(root + L"Windows\\win.ini", 1);
    makeSizedFile(root + L"Windows\\System32\\kernel.dll", 2);
    makeSizedFile(root + L"Windows.old\\old.ini", 3);
    makeSizedFile(root + L"Other\\keep.txt", 4);
    std::wstring otherDrive = makeFixtureFolder(L"E:");
    makeFolder(otherDrive + L"Windows");
    makeSizedFile(otherDrive + L"Windows\\elsewhere.ini", 5);

    windowsFolder = TextLower(root) + L"WINDOWS";
    collectFiles(root);
    EXPECT_EQ(collectedPaths(), (std::vector<std::wstring>{root + L"Other\\keep.txt", root + L"Windows.old\\old.ini"}));
    collectFiles(otherDrive);
    EXPECT_EQ(collectedCount(), 1) << "the same folder name on another drive is walked";

    searchWindowsFolder = true;
    collectFiles(root);
    EXPECT_EQ(collectedCount(), 4);
}

TEST_F(Walk, EachFolderOnceHoweverManyLinksLeadThere) {
    // Laid out natively: real\file.dat, real\up -> .. (a loop), a-link -> real.
    collectFiles(L"D:\\native\\links\\");
    EXPECT_EQ(collectedPaths(), (std::vector<std::wstring>{L"D:\\native\\links\\real\\file.dat"}))
        << "once, under its own folder's path";

    windowsFolder = L"d:\\native\\links\\real";
    collectFiles(L"D:\\native\\links\\");
    EXPECT_EQ(collectedCount(), 0) << "no link leads past the Windows-folder exclusion";
}

TEST_F(Walk, UnreadableFolderIsSkippedSilently) {
    // Laid out natively: open\seen.dat, locked\hidden.dat (unreadable), last.dat.
    collectFiles(L"D:\\native\\walk\\");
    EXPECT_EQ(collectedPaths(),
              (std::vector<std::wstring>{L"D:\\native\\walk\\open\\seen.dat", L"D:\\native\\walk\\last.dat"}));
}

TEST_F(Walk, EmptyAndNotReadyDrivesGiveNothing) {
    // R: is empty and nobody may write to it, so the probe file another test's
    // window makes in every drive root can never show up there.
    collectFiles(L"R:\\");
    EXPECT_EQ(collectedCount(), 0);
    collectFiles(L"X:\\");
    EXPECT_EQ(collectedCount(), 0);
}

TEST_F(Walk, EscapeUnwindsTheWholeWalkAndKeepsWhatWasFoundSorted) {
    std::wstring root = makeFixtureFolder();
    makeFolder(root + L"a");
    makeFolder(root + L"a\\b");
    for (int i = 0; i < 5; ++i) {
        makeSizedFile(root + L"a\\b\\deep" + std::to_wstring(i) + L".bin", 10 + i);
        makeSizedFile(root + L"top" + std::to_wstring(i) + L".bin", 100 + i);
        makeSizedFile(root + L"a\\mid" + std::to_wstring(i) + L".bin", 50 + i);
    }
    collectFiles(root);
    const int everything = collectedCount();
    ASSERT_EQ(everything, 15);

    for (int from : {1, 2, 5, 9, 14}) {
        EscapeHeldFrom escape(from);
        collectFiles(root);
        // Entries fetched before Escape was seen are all that is looked at; the
        // rest of every level ends at its next fetch.
        EXPECT_LT(collectedCount(), from) << "Escape from query " << from;
        EXPECT_LE(EscapeHeldFrom::queries(), from + 3) << "one more fetch per open level at most";
        auto entries = collected();
        EXPECT_TRUE(std::is_sorted(entries.rbegin(), entries.rend())) << "what was found is still sorted";
    }
    collectFiles(root);
    EXPECT_EQ(collectedCount(), everything) << "released, the next walk is complete";
}

TEST_F(Walk, AShortTapEndsOnlyTheListingThatSawIt) {
    std::wstring root = makeFixtureFolder();
    makeFolder(root + L"sub");
    makeSizedFile(root + L"sub\\inner1.bin", 1);
    makeSizedFile(root + L"sub\\inner2.bin", 2);
    makeSizedFile(root + L"zz-after.bin", 3);
    // Count the queries of a full walk to find where the sub folder's first entry is.
    {
        EscapeHeldFrom never(1 << 30);
        collectFiles(root);
    }
    ASSERT_EQ(collectedCount(), 3);

    static int tapAt;
    static int seen;
    seen = 0;
    tapAt = 0;
    // Find the first query made inside sub (after ".", "..", the parent's entries up to sub).
    struct Tap {
        static SHORT WINAPI keyState(int) { return ++seen == tapAt ? static_cast<SHORT>(0x8000) : 0; }
    };
    personCalls().keyState = Tap::keyState;
    bool sawOnlySubCut = false;
    for (tapAt = 1; tapAt < 12 && !sawOnlySubCut; ++tapAt) {
        seen = 0;
        collectFiles(root);
        auto paths = collectedPaths();
        bool hasAfter = std::find(paths.begin(), paths.end(), root + L"zz-after.bin") != paths.end();
        bool missesInner = paths.size() < 3;
        sawOnlySubCut = hasAfter && missesInner && collectedCount() >= 1;
    }
    personCalls().keyState = GetAsyncKeyState;
    EXPECT_TRUE(sawOnlySubCut) << "a tap inside sub must not stop the parent's listing";
}

TEST_F(Walk, LaterWalksReuseTheCollection) {
    std::wstring root = makeFixtureFolder();
    for (int i = 0; i < 30; ++i) makeSizedFile(root + L"f" + std::to_wstring(i), i);
    collectFiles(root);
    EXPECT_EQ(collectedCount(), 30);
    sizeThreshold = 25;
    collectFiles(root);
    EXPECT_EQ(collectedCount(), 4);
    EXPECT_EQ(collectedPaths().front(), root + L"f29");
}

// A folder found holding a file costs its own name, however deep it lies: the
// chain of 100 folders of 30-letter names with 1,000 folders at its bottom, each
// holding one file (laid out natively), once cost the chain's 3,100 characters
// for every one of them (6 MB). The walk climbs it in a loop, and every path still reads whole.
TEST_F(Walk, AFolderCostsItsNameNotItsDepth) {
    std::wstring deepest = L"D:\\native\\deep\\";
    for (int i = 0; i < 100; ++i) deepest += std::wstring(30, L'a') + L"\\";
    PROCESS_MEMORY_COUNTERS before{};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    collectFiles(L"D:\\native\\deep\\");
    PROCESS_MEMORY_COUNTERS after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    ASSERT_EQ(collectedCount(), 1000);
    EXPECT_LT(after.PeakPagefileUsage - before.PeakPagefileUsage, 2u * 1024 * 1024);
    // Largest first, equal sizes by path, last first: "999" after "99" after "9".
    const std::vector<std::wstring> paths = collectedPaths();
    EXPECT_EQ(paths.front(), deepest + L"993\\f");
    EXPECT_EQ(paths.back(), deepest + L"0\\f");
}
