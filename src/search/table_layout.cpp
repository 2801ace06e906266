#include "search/table_layout.h"

#include "toolkit/raw_volume.h"

#include <algorithm>

using namespace ntfs;

namespace {

// Far more than a table of millions of records in thousands of pieces needs
// (an entry takes 32 bytes), and little enough to read at once.
constexpr uint32_t largestAttributeList = 256 * 1024;

// One piece of the table's data: where in the table it starts and the runs it maps.
struct Piece {
    unsigned long long firstCluster = 0, lastCluster = 0;
    std::vector<Extent> extents;
};

unsigned long long clustersOf(const std::vector<Extent>& extents) {
    unsigned long long clusters = 0;
    for (const Extent& extent : extents) clusters += extent.clusters;  // each run lies on the volume: no overflow
    return clusters;
}

// The table's unnamed $DATA attribute in a fixed-up record, as a piece; `sizes`
// gets the first piece's allocated and data sizes.
bool dataPiece(const Attribute& attribute, const Geometry& geometry, Piece& piece, unsigned long long* sizes) {
    if (attribute.resident) return false;
    piece.firstCluster = u64(attribute.at + nonResidentLowestCluster);
    piece.lastCluster = u64(attribute.at + nonResidentHighestCluster);
    if (!decodeRuns(attribute, geometry.volumeClusters, piece.extents) || piece.extents.empty()) return false;
    for (const Extent& extent : piece.extents)
        if (extent.lcn < 0) return false;  // a hole in the table itself: not a table this reader knows
    if (piece.lastCluster < piece.firstCluster || piece.lastCluster - piece.firstCluster + 1 != clustersOf(piece.extents))
        return false;
    if (sizes) {
        sizes[0] = u64(attribute.at + nonResidentAllocatedSize);
        sizes[1] = u64(attribute.at + nonResidentDataSize);
    }
    return true;
}

// Reads record `number` of the table through the extents known so far and
// checks it is a record in use that belongs to record 0 of that sequence.
bool readExtensionRecord(RawVolume& volume, const Geometry& geometry, const std::vector<Extent>& extents,
                         uint64_t reference, uint16_t tableSequence, SectorBuffer& record) {
    const uint64_t number = reference & referenceRecordMask;
    const unsigned long long mapped = clustersOf(extents) * geometry.clusterBytes;
    if (number == 0 || number >= mapped / geometry.recordBytes) return false;
    if (!readTableBytes(volume, geometry, extents, number * geometry.recordBytes, record.data(), geometry.recordBytes))
        return false;
    unsigned char* bytes = record.data();
    if (!applyFixups(bytes, geometry.recordBytes) || !(u16(bytes + recordFlags) & recordInUse)) return false;
    const uint64_t base = u64(bytes + recordBaseReference);
    return (base & referenceRecordMask) == 0 && (base >> 48) == tableSequence &&
           (reference >> 48 == 0 || reference >> 48 == u16(bytes + recordSequence));
}

// The attribute list's bytes, resident or in runs of its own.
bool readAttributeList(RawVolume& volume, const Geometry& geometry, const Attribute& attribute,
                       std::vector<unsigned char>& list) {
    if (attribute.resident) {
        const unsigned char* value = nullptr;
        uint32_t length = 0;
        if (!residentValue(attribute, value, length)) return false;
        list.assign(value, value + length);
        return true;
    }
    std::vector<Extent> runs;
    if (!decodeRuns(attribute, geometry.volumeClusters, runs) || u64(attribute.at + nonResidentLowestCluster) != 0)
        return false;
    const unsigned long long size = u64(attribute.at + nonResidentDataSize);
    const unsigned long long clusters = clustersOf(runs);
    if (size > largestAttributeList || clusters > largestAttributeList / geometry.clusterBytes + 1 ||
        size > clusters * geometry.clusterBytes)
        return false;
    SectorBuffer buffer(static_cast<size_t>(clusters * geometry.clusterBytes));
    if (!buffer.data()) return false;
    unsigned long long done = 0;
    for (const Extent& run : runs) {
        if (run.lcn < 0) return false;
        const unsigned long long bytes = run.clusters * geometry.clusterBytes;
        if (!volume.read(static_cast<unsigned long long>(run.lcn) * geometry.clusterBytes, buffer.data() + done,
                         static_cast<size_t>(bytes)))
            return false;
        done += bytes;
    }
    list.assign(buffer.data(), buffer.data() + size);
    return true;
}

// The pieces of the table's data that lie in other records, as the attribute list
// names them, in the list's order; false when an entry or a record does not add up.
bool gatherPieces(RawVolume& volume, const Geometry& geometry, const std::vector<unsigned char>& list,
                  uint16_t tableSequence, std::vector<Piece>& pieces) {
    SectorBuffer record(geometry.recordBytes);
    if (!record.data()) return false;
    // Each piece is found through the pieces before it, as the system itself finds them.
    std::vector<Extent> known = pieces[0].extents;
    size_t at = 0;
    while (at < list.size()) {
        if (list.size() - at < listEntryMinimumBytes) return false;
        const unsigned char* entry = list.data() + at;
        const uint32_t length = u16(entry + listEntryLength);
        if (length < listEntryMinimumBytes || length > list.size() - at) return false;
        at += length;
        if (u32(entry + listEntryType) != typeData || entry[listEntryNameLength] != 0) continue;
        const uint64_t reference = u64(entry + listEntryReference);
        const unsigned long long firstCluster = u64(entry + listEntryLowestCluster);
        if ((reference & referenceRecordMask) == 0) {
            if (firstCluster != 0) return false;  // record 0 holds the start of the table
            continue;
        }
        if (!readExtensionRecord(volume, geometry, known, reference, tableSequence, record)) return false;
        Piece piece;
        bool found = false;
        const bool sound = forEachAttribute(record.data(), geometry.recordBytes, [&](const Attribute& attribute) {
            if (attribute.type != typeData || attribute.nameLength != 0) return true;
            if (attribute.resident || u64(attribute.at + nonResidentLowestCluster) != firstCluster) return true;
            found = dataPiece(attribute, geometry, piece, nullptr);
            return found;
        });
        if (!sound || !found) return false;
        known.insert(known.end(), piece.extents.begin(), piece.extents.end());
        pieces.push_back(std::move(piece));
    }
    return true;
}

// No two runs of the table share a cluster: a table that maps itself twice is not one.
bool runsApart(std::vector<Extent> extents) {
    std::sort(extents.begin(), extents.end(), [](const Extent& a, const Extent& b) { return a.lcn < b.lcn; });
    for (size_t i = 1; i < extents.size(); ++i)
        if (static_cast<unsigned long long>(extents[i - 1].lcn) + extents[i - 1].clusters >
            static_cast<unsigned long long>(extents[i].lcn))
            return false;
    return true;
}

}  // namespace

bool readGeometry(RawVolume& volume, Geometry& geometry) {
    SectorBuffer boot(4096);
    if (!boot.data() || !volume.read(0, boot.data(), 4096)) return false;
    const unsigned char* b = boot.data();
    if (std::memcmp(b + bootOemName, "NTFS    ", 8) != 0) return false;
    const uint32_t sector = u16(b + bootSectorBytes);
    uint32_t perCluster = b[bootSectorsPerCluster];
    if (perCluster > 0x80) perCluster = 1u << std::min(256 - perCluster, 31u);
    if (sector < 512 || sector > 4096 || (sector & (sector - 1)) || perCluster == 0 || perCluster > 4096 ||
        (perCluster & (perCluster - 1)))
        return false;
    const unsigned long long clusterBytes = static_cast<unsigned long long>(sector) * perCluster;
    if (clusterBytes > 2 * 1024 * 1024) return false;
    geometry.clusterBytes = static_cast<uint32_t>(clusterBytes);
    const int perRecord = static_cast<signed char>(b[bootClustersPerRecord]);
    const unsigned long long recordBytes =
        perRecord > 0 ? static_cast<unsigned long long>(perRecord) * geometry.clusterBytes : 1ULL << std::min(-perRecord, 31);
    if (recordBytes < 1024 || recordBytes > 65536 || recordBytes < sector || (recordBytes & (recordBytes - 1)))
        return false;
    geometry.recordBytes = static_cast<uint32_t>(recordBytes);
    geometry.volumeClusters = u64(b + bootTotalSectors) / perCluster;
    const unsigned long long tableCluster = u64(b + bootTableCluster);
    if (tableCluster == 0 || tableCluster >= geometry.volumeClusters) return false;
    geometry.tableOffset = tableCluster * geometry.clusterBytes;
    return true;
}

bool readTableLayout(RawVolume& volume, const Geometry& geometry, TableLayout& layout) {
    SectorBuffer first(geometry.recordBytes);
    if (!first.data() || !volume.read(geometry.tableOffset, first.data(), geometry.recordBytes)) return false;
    unsigned char* record = first.data();
    if (!applyFixups(record, geometry.recordBytes) || !(u16(record + recordFlags) & recordInUse) ||
        u64(record + recordBaseReference) != 0)
        return false;
    std::vector<Piece> pieces(1);
    unsigned long long sizes[2] = {0, 0};  // allocated, data
    bool haveData = false;
    std::vector<unsigned char> list;
    bool haveList = false;
    const bool sound = forEachAttribute(record, geometry.recordBytes, [&](const Attribute& attribute) {
        if (attribute.type == typeAttributeList) {
            if (haveList) return false;
            haveList = true;
            return readAttributeList(volume, geometry, attribute, list);
        }
        if (attribute.type != typeData || attribute.nameLength != 0) return true;
        if (haveData) return false;
        haveData = true;
        return dataPiece(attribute, geometry, pieces[0], sizes) && pieces[0].firstCluster == 0;
    });
    if (!sound || !haveData) return false;
    // The table's first cluster is where the boot sector says it is.
    if (static_cast<unsigned long long>(pieces[0].extents[0].lcn) * geometry.clusterBytes != geometry.tableOffset)
        return false;
    if (haveList && !gatherPieces(volume, geometry, list, u16(record + recordSequence), pieces)) return false;
    // The pieces follow on from one another, without gaps or overlaps.
    std::stable_sort(pieces.begin(), pieces.end(),
                     [](const Piece& a, const Piece& b) { return a.firstCluster < b.firstCluster; });
    layout.extents.clear();
    unsigned long long next = 0;
    for (const Piece& piece : pieces) {
        if (piece.firstCluster != next) return false;
        next = piece.lastCluster + 1;
        layout.extents.insert(layout.extents.end(), piece.extents.begin(), piece.extents.end());
    }
    if (!runsApart(layout.extents)) return false;
    // The records claimed are believed only as far as the runs map clusters for them.
    const unsigned long long mapped = next * geometry.clusterBytes;
    const unsigned long long tableBytes = sizes[1];
    if (tableBytes > sizes[0] || tableBytes > mapped || tableBytes < geometry.recordBytes * 16ULL) return false;
    const unsigned long long records = tableBytes / geometry.recordBytes;
    if (records > 0xFFFFFFFFULL) return false;
    layout.records = static_cast<uint32_t>(records);
    // And the last of them is really there: a volume may claim more sectors than it has.
    SectorBuffer last(geometry.recordBytes);
    return last.data() && readTableBytes(volume, geometry, layout.extents, (records - 1) * geometry.recordBytes,
                                         last.data(), geometry.recordBytes);
}

bool readTableBytes(RawVolume& volume, const Geometry& geometry, const std::vector<Extent>& extents,
                    unsigned long long offset, unsigned char* buffer, uint32_t bytes) {
    unsigned long long start = 0;
    for (const Extent& extent : extents) {
        const unsigned long long length = extent.clusters * geometry.clusterBytes;
        if (bytes > 0 && offset < start + length) {
            if (extent.lcn < 0) return false;
            const unsigned long long within = offset - start;
            const uint32_t take = static_cast<uint32_t>(std::min<unsigned long long>(bytes, length - within));
            if (!volume.read(static_cast<unsigned long long>(extent.lcn) * geometry.clusterBytes + within, buffer, take))
                return false;
            buffer += take;
            offset += take;
            bytes -= take;
        }
        start += length;
    }
    return bytes == 0;
}
