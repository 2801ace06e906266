#pragma once
// Invariants of what the table reader believes, checked beside memory by every
// fuzz target: each is what a sound reader must hold whatever the bytes said.
#include "fuzz/fuzz_device.h"
#include "search/table_layout.h"
#include "search/table_records.h"

#include <algorithm>
#include <vector>

// The table lies on the device: its runs inside the volume, none sharing a
// cluster, and the records counted inside the bytes its runs map.
inline void checkLayout(const Geometry& geometry, const TableLayout& layout, unsigned long long deviceBytes) {
    FUZZ_CHECK(geometry.volumeClusters * geometry.clusterBytes <= deviceBytes);
    std::vector<ntfs::Extent> runs = layout.extents;
    unsigned long long mapped = 0;
    for (const ntfs::Extent& run : runs) {
        FUZZ_CHECK(run.lcn >= 0 && static_cast<unsigned long long>(run.lcn) < geometry.volumeClusters);
        FUZZ_CHECK(run.clusters <= geometry.volumeClusters - static_cast<unsigned long long>(run.lcn));
        mapped += run.clusters;
    }
    std::sort(runs.begin(), runs.end(), [](const ntfs::Extent& a, const ntfs::Extent& b) { return a.lcn < b.lcn; });
    for (size_t i = 1; i < runs.size(); ++i)
        FUZZ_CHECK(static_cast<unsigned long long>(runs[i - 1].lcn) + runs[i - 1].clusters <=
                   static_cast<unsigned long long>(runs[i].lcn));
    FUZZ_CHECK(mapped <= geometry.volumeClusters);
    FUZZ_CHECK(static_cast<unsigned long long>(layout.records) * geometry.recordBytes <= mapped * geometry.clusterBytes);
}

// No file is believed larger than a file can be (a sparse one may be larger than
// its volume, never larger than 2^32 clusters), and every name lies inside the
// table's text and names a record of the table.
inline void checkRecords(const Geometry& geometry, const TableRecords& records) {
    for (uint32_t record = 0; record < records.recordCount(); ++record) {
        if (!records.inUse(record)) continue;
        FUZZ_CHECK(records.size(record) >= 0);
        FUZZ_CHECK(static_cast<unsigned long long>(records.size(record)) <= ntfs::mostFileClusters * geometry.clusterBytes);
    }
    for (const TableName& name : records.names()) {
        FUZZ_CHECK(name.record < records.recordCount() && name.parent < records.recordCount());
        FUZZ_CHECK(name.length > 0 && records.text(name).size() == name.length);
    }
}
