// Drives the fast scan's reading of a volume's file table natively, under the
// sanitizers: the fuzzer's input is the volume. Everything the scan does with
// the bytes before it walks a folder is here: geometry, the table's layout and
// attribute list, every record, the folders placed and their paths joined.
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_device.h"
#include "search/table_folders.h"
#include "search/table_reader.h"
#include "toolkit/raw_volume.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzDevice& device = fuzzDevice();
    device.bytes.assign(data, data + size);
    device.length = 64ULL * 1024 * 1024;  // a crafted boot sector may claim past the input, not past this
    device.tellsLength = true;
    device.reads = 0;
    RawVolume volume(L'N');
    const std::optional<Geometry> geometry = readGeometry(volume);
    TableLayout layout;
    if (!geometry) return 0;
    const TableRead laidOut = readTableLayout(volume, *geometry, layout, [] { return false; });
    // The layout's steps follow the input, never its square.
    FUZZ_CHECK(layout.work <= 64 + 40 * (size / ntfs::listEntryMinimumBytes) + size);
    if (laidOut != TableRead::whole) return 0;
    checkLayout(*geometry, layout, device.length);
    TableRecords records;
    if (readTable(volume, *geometry, layout, records, [] { return false; }, [](uint32_t) {}) != TableRead::whole)
        return 0;
    checkRecords(*geometry, records);
    TableFolders folders(records, 3);
    const std::wstring root = L"N:\\";
    size_t characters = 0;
    for (const TableName& name : records.names()) {
        if (!records.inUse(name.record)) continue;
        if (folders.place(name.parent, name.parentSequence) != TableFolders::Standing::user) continue;
        const std::wstring path = folders.path(name.parent, root);
        FUZZ_CHECK(path.size() == folders.pathLength(name.parent) && path.compare(0, 3, root) == 0);
        FUZZ_CHECK(path.size() <= longestPath);
        characters += path.size() + records.text(name).size();
    }
    volatile size_t sink = characters;  // the paths are made to be checked, not kept
    (void)sink;
    return 0;
}
