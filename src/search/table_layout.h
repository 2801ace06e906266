#pragma once
// Where an NTFS volume's file table lies: the volume's geometry from its boot
// sector, and the runs of clusters the table's own data takes, gathered from its
// first record and, on a volume whose table grew in many pieces, from the records
// its attribute list names. Whatever does not add up is refused: a count or size
// is believed only as far as the clusters behind it really exist.
#include "search/ntfs_format.h"

#include <cstdint>
#include <vector>

class RawVolume;

struct Geometry {
    uint32_t clusterBytes = 0;
    uint32_t recordBytes = 0;
    unsigned long long volumeClusters = 0;
    unsigned long long tableOffset = 0;
};

struct TableLayout {
    std::vector<ntfs::Extent> extents;  // in the table's own order, no holes, no two sharing a cluster
    uint32_t records = 0;               // the records the table holds, all inside the extents
};

// False when the boot sector is not an NTFS one this reader knows.
bool readGeometry(RawVolume& volume, Geometry& geometry);
// False when the table's first record, its attribute list or the records it names
// cannot be read or do not add up, or the table's bytes are not all on the volume.
bool readTableLayout(RawVolume& volume, const Geometry& geometry, TableLayout& layout);

// Reads `bytes` of the table from `offset` within it, across its extents.
bool readTableBytes(RawVolume& volume, const Geometry& geometry, const std::vector<ntfs::Extent>& extents,
                    unsigned long long offset, unsigned char* buffer, uint32_t bytes);
