// One file record as the fast scan takes it: its update sequence, attributes,
// names and runs. The input is the record (1 KB, or 4 KB when longer), read as
// record 20 of a table of 64 on a 64 MB volume of 4 KB clusters.
#include "fuzz/fuzz_checks.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint32_t recordBytes = size <= 1024 ? 1024 : 4096;
    // Exactly the record's bytes, so that the sanitizer sees a read past its end.
    std::vector<unsigned char> record(recordBytes, 0);
    std::memcpy(record.data(), data, std::min<size_t>(size, recordBytes));
    Geometry geometry;
    geometry.clusterBytes = 4096;
    geometry.recordBytes = recordBytes;
    geometry.volumeClusters = 16384;
    TableRecords records;
    records.reserve(64, geometry.clusterBytes);
    if (!records.add(20, record.data(), recordBytes) || !records.finish(64)) return 0;
    checkRecords(geometry, records);
    // A base record in use names only itself as the owner of what it holds.
    for (const TableName& name : records.names()) FUZZ_CHECK(name.record == 20);
    return 0;
}
