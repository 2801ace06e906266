// Where the table lies: record 0 with its attribute list and the records that
// list names. The input is a boot sector (its first 512 bytes) and the table's
// first records, laid at the table's place on a device of 16 MB. Besides
// memory, the work must follow the input: a list entry costs a record read, and
// the steps taken grow with the input, never with its square.
#include "fuzz/fuzz_checks.h"
#include "toolkit/raw_volume.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 512) return 0;
    const std::optional<ntfs::BootSector> boot = ntfs::parseBootSector(ntfs::Bytes(data, 512));
    if (!boot) return 0;
    FuzzDevice& device = fuzzDevice();
    device.length = 16ULL * 1024 * 1024;
    device.tellsLength = true;
    device.reads = 0;
    const unsigned long long table = boot->tableCluster * boot->clusterBytes;  // both bounded by the parse
    if (table < 512 || table > device.length - (size - 512)) return 0;
    device.bytes.assign(static_cast<size_t>(table) + (size - 512), 0);
    std::memcpy(device.bytes.data(), data, 512);
    std::memcpy(device.bytes.data() + table, data + 512, size - 512);
    RawVolume volume(L'N');
    const std::optional<Geometry> geometry = readGeometry(volume);
    if (!geometry) return 0;
    TableLayout layout;
    const TableRead read = readTableLayout(volume, *geometry, layout, [] { return false; });
    // The boot sector, its last sector, record 0, an attribute list of a few
    // runs, the last record; then at most one record (two extents) per list entry.
    const unsigned long long entries = size / ntfs::listEntryMinimumBytes;
    FUZZ_CHECK(device.reads <= 8 + geometry->recordBytes / 2 + 2 * entries);
    // And the steps: each entry, each run taken (a run takes at least two bytes of
    // the input) and each search for a run, so that a path whose work grows with
    // the square of the input fails here even where it reads no more.
    FUZZ_CHECK(layout.work <= 64 + 40 * entries + size);
    if (read != TableRead::whole) return 0;
    checkLayout(*geometry, layout, device.length);
    return 0;
}
