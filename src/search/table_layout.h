#pragma once
// Where an NTFS volume's file table lies: the volume's geometry from its boot
// sector, checked against how long the device really is, and the runs of
// clusters the table's own data takes, gathered from its first record and, on a
// volume whose table grew in many pieces, from the records its attribute list
// names. Whatever does not add up is refused: a count or size is believed only
// as far as the clusters behind it really exist on the device.
#include "search/ntfs_format.h"

#include <cstdint>
#include <functional>
#include <vector>

class RawVolume;

struct Geometry {
    uint32_t clusterBytes = 0;
    uint32_t recordBytes = 0;
    unsigned long long volumeClusters = 0;  // all of them on the device
    unsigned long long tableOffset = 0;
};

struct TableLayout {
    std::vector<ntfs::Extent> extents;  // in the table's own order, no holes, no two sharing a cluster
    std::vector<uint64_t> starts;       // where each extent starts, in the table's own clusters
    uint32_t records = 0;               // the records the table holds, all inside the extents
    // The steps the reading took (list entries, runs taken, steps of each search
    // for a run): a reader whose work grew faster than its input would show here.
    uint64_t work = 0;
};

enum class TableRead {
    whole,    // all read, and it agrees with itself and with the device
    stopped,  // `stop` said so; what was read so far is kept
    refused,  // the volume could not be read, or what it holds is not sound
};

// Reads `bytes` of the table from `offset` within it, across the extents they lie
// in, found by a search over where each starts; false where they are not all in
// the extents or the volume cannot read them. Each step of the search and each
// extent read counts in `work`. Threads may read at once.
bool readTableBytes(RawVolume& volume, const Geometry& geometry, const std::vector<ntfs::Extent>& extents,
                    const std::vector<uint64_t>& starts, uint64_t offset, unsigned char* buffer, size_t bytes,
                    uint64_t& work);

// Nothing when the boot sector is not an NTFS one this reader knows, or claims
// more of the volume than the device holds.
std::optional<Geometry> readGeometry(RawVolume& volume);
// Refused when the table's first record, its attribute list or the records it
// names cannot be read or do not add up, or the table's bytes are not all on the
// volume. `stop` is asked for each piece of the table.
TableRead readTableLayout(RawVolume& volume, const Geometry& geometry, TableLayout& layout,
                          const std::function<bool()>& stop);

