// Volumes whose file tables were crafted to crash the fast scan or to take its
// memory or time (tests/support/break-ntfs-image.py says how each is made). The
// test program runs under a memory limit (RAVLEK_MEMORY_LIMIT_MB): a scan that
// sized its memory from what a table claims would be ended by it.
#include "search/table_records.h"
#include "search/volume_table_support.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <chrono>

namespace {

size_t peakMegabytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakPagefileUsage / (1024 * 1024);
}

}  // namespace

// Each way a table can be wrong makes the scan give nothing, and a search walks.
TEST(VolumeTable, AWrongTableIsNeverTrustedAndTheSearchWalks) {
    NeverStop never;
    const struct {
        const wchar_t* drive;
        const char* table;
    } volumes[] = {
        {L"H:\\", "a record's update sequence does not check out"},
        {L"I:\\", "a name's parent is not in the table"},
        {L"J:\\", "the table is cut short"},
        {L"R:\\", "a folder: no table at all"},
        {L"G:\\", "a chain of 8,000 folders, paths far past 32,767 characters"},
        {L"K:\\", "a record extends record 0xFFFFFFF0"},
        {L"L:\\", "the table claims 2^41 bytes"},
        {L"O:\\", "a folder is its own parent"},
        {L"P:\\", "a name claims more characters than its attribute holds"},
        {L"T:\\", "the volume ends inside the table"},
        {L"U:\\", "the table's runs overlap"},
        {L"A:\\", "the boot sector claims 2^40 sectors, the table a billion records, the last one readable"},
        {L"Q:\\", "record 0's $DATA is a 16-byte non-resident attribute at the end of a 4 KB record"},
    };
    for (const auto& volume : volumes) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(std::wstring(volume.drive)) << ": " << volume.table);
        const WalkRequest request = requestFor(volume.drive, -1, L"", true);
        FoundFiles scanned, walked;
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(scanVolumeTable(request, never, scanned), TableScan::unavailable);
        const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        EXPECT_LT(seconds, 10.0) << "the table is refused in the time a sound one is read";
        ASSERT_EQ(walkDrive(request, never, walked), WalkEnd::reachedTheEnd);
        SearchResults results;
        collectFiles(request, results);
        EXPECT_EQ(differences(listed(results.found), listed(walked)), std::vector<std::wstring>{});
        std::printf("%s refused in %.2f s; the program's peak so far %zu MB\n",
                    testing::PrintToString(std::wstring(volume.drive)).c_str(), seconds, peakMegabytes());
    }
    // Nine thousand records hold about a megabyte; the walks' listings take the rest.
    EXPECT_LT(peakMegabytes(), 300u);
}

// A table's claimed count of records is weighed against what the process can
// address before any array is sized: on a 32-bit Windows, 126 million records
// made the name array's reserve throw and end Ravlek; there they are refused
// and the drive is walked. A 64-bit process takes counts a volume can hold.
TEST(TableRecords, ACountPastWhatTheProcessCanHoldIsRefusedBeforeAnythingIsSized) {
    constexpr uint64_t thirtyTwoBitSpace = uint64_t{1} << 32;
    EXPECT_FALSE(tableFitsIn(126'000'000, thirtyTwoBitSpace));
    EXPECT_FALSE(tableFitsIn(0xFFFFFFFFu, thirtyTwoBitSpace));
    EXPECT_TRUE(tableFitsIn(2'000'000, thirtyTwoBitSpace)) << "a drive of two million files scans on 32-bit Windows";
    EXPECT_TRUE(tableFitsIn(0xFFFFFFFFu, ~uint64_t{0}));
}
