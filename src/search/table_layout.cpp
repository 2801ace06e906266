#include "search/table_layout.h"

#include "toolkit/raw_volume.h"

#include <algorithm>
#include <map>

using namespace ntfs;

namespace {

// Far more than a table of millions of records in thousands of pieces needs
// (an entry takes 32 bytes), and little enough to read at once.
constexpr uint32_t largestAttributeList = 256 * 1024;

// One piece of the table's data: the first of its own clusters it maps, how many
// it maps, and where they lie.
struct Piece {
    uint64_t firstCluster = 0;
    uint64_t clusters = 0;
    std::vector<Extent> extents;
};

// The table's unnamed $DATA attribute in a fixed-up record, as a piece: runs with
// no hole that map exactly the clusters its header says.
std::optional<Piece> dataPiece(const NonResident& header, const Geometry& geometry) {
    Piece piece;
    piece.firstCluster = header.lowestCluster;
    if (!decodeRuns(header.runs, geometry.volumeClusters, piece.extents) || piece.extents.empty()) return std::nullopt;
    for (const Extent& extent : piece.extents) {
        if (extent.lcn < 0) return std::nullopt;  // a hole in the table itself: not a table this reader knows
        // Each run lies on the volume, and the runs of a record number no more than the volume's clusters.
        const std::optional<uint64_t> sum = checkedSum(piece.clusters, extent.clusters);
        if (!sum) return std::nullopt;
        piece.clusters = *sum;
    }
    if (header.highestCluster < header.lowestCluster ||
        header.highestCluster - header.lowestCluster + 1 != piece.clusters)
        return std::nullopt;
    return piece;
}

// The table's runs in its own order as they arrive, each with where it starts in
// the table, so that an offset's run is found by a search over those starts; a
// run that shares a cluster with one taken before is refused as it arrives, and
// no more runs are taken than the table's clusters could need.
class TableRuns {
public:
    TableRuns(const Geometry& geometry, uint64_t& work) : geometry_(geometry), work_(work) {}

    void limitTo(uint64_t runs) { mostRuns_ = runs; }
    uint64_t clusters() const { return clusters_; }
    void takeInto(TableLayout& layout) {
        layout.extents = std::move(extents_);
        layout.starts = std::move(starts_);
    }

    bool add(const std::vector<Extent>& runs) {
        for (const Extent& run : runs) {
            ++work_;
            if (run.lcn < 0 || run.clusters == 0 || extents_.size() >= mostRuns_) return false;
            const uint64_t first = static_cast<uint64_t>(run.lcn);
            const std::optional<uint64_t> end = checkedSum(first, run.clusters);
            const std::optional<uint64_t> total = checkedSum(clusters_, run.clusters);
            if (!end || !total) return false;
            auto after = byCluster_.lower_bound(first);
            if (after != byCluster_.end() && after->first < *end) return false;
            if (after != byCluster_.begin() && std::prev(after)->second > first) return false;
            byCluster_.emplace_hint(after, first, *end);
            starts_.push_back(clusters_);
            extents_.push_back(run);
            clusters_ = *total;
        }
        return true;
    }

    // Reads `bytes` of the table from `offset` within it, across its runs.
    bool read(RawVolume& volume, uint64_t offset, unsigned char* buffer, uint32_t bytes) {
        return readTableBytes(volume, geometry_, extents_, starts_, offset, buffer, bytes, work_);
    }

private:
    const Geometry& geometry_;
    uint64_t& work_;
    std::vector<Extent> extents_;
    std::vector<uint64_t> starts_;            // in the table's own clusters
    std::map<uint64_t, uint64_t> byCluster_;  // each run's first and end cluster on the volume
    uint64_t clusters_ = 0;
    uint64_t mostRuns_ = ~uint64_t{0};
};

}  // namespace

bool readTableBytes(RawVolume& volume, const Geometry& geometry, const std::vector<Extent>& extents,
                    const std::vector<uint64_t>& starts, uint64_t offset, unsigned char* buffer, size_t bytes,
                    uint64_t& work) {
    const uint64_t cluster = offset / geometry.clusterBytes;
    if (starts.empty() || starts.size() != extents.size()) return false;
    const uint64_t last = starts.size() - 1;
    if (cluster >= starts[last] + extents[last].clusters) return false;
    // The run that holds the offset: the last that starts at or before it.
    size_t at = static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), cluster) - starts.begin()) - 1;
    for (size_t n = starts.size(); n > 0; n >>= 1) ++work;
    while (bytes > 0) {
        if (at >= extents.size()) return false;
        ++work;
        const Extent& run = extents[at];
        const uint64_t runStart = starts[at] * geometry.clusterBytes;  // within the table's clusters
        const uint64_t within = offset - runStart;
        const uint64_t runBytes = run.clusters * geometry.clusterBytes;  // a run lies on the volume
        const size_t take = static_cast<size_t>(std::min<uint64_t>(bytes, runBytes - within));
        const uint64_t from = static_cast<uint64_t>(run.lcn) * geometry.clusterBytes + within;
        if (!volume.read(from, buffer, take)) return false;
        buffer += take;
        offset += take;
        bytes -= take;
        ++at;
    }
    return true;
}

namespace {

// The record's own number, where the format has it, is the one it was read as.
bool carriesNumber(const RecordHeader& header, uint64_t number) {
    return !header.number || *header.number == (number & 0xFFFFFFFFu);
}

// Reads record `number` of the table through the extents known so far, which map
// `mappedClusters` of it, and checks it is a record in use that belongs to record
// 0 of that sequence.
std::optional<RecordHeader> readExtensionRecord(RawVolume& volume, const Geometry& geometry, TableRuns& runs,
                                                uint64_t mappedClusters, uint64_t reference, uint16_t tableSequence,
                                                SectorBuffer& record) {
    const uint64_t number = recordOf(reference);
    const std::optional<uint64_t> mapped = checkedProduct(mappedClusters, geometry.clusterBytes);
    const std::optional<uint64_t> offset = checkedProduct(number, geometry.recordBytes);
    if (number == 0 || !mapped || !offset || *offset >= *mapped || *mapped - *offset < geometry.recordBytes)
        return std::nullopt;
    if (!runs.read(volume, *offset, record.data(), geometry.recordBytes)) return std::nullopt;
    if (!applyFixups(record.data(), geometry.recordBytes)) return std::nullopt;
    const std::optional<RecordHeader> header = parseRecordHeader(Bytes(record.data(), geometry.recordBytes));
    if (!header || !header->inUse() || !carriesNumber(*header, number) || recordOf(header->baseReference) != 0 ||
        sequenceOf(header->baseReference) != tableSequence ||
        (sequenceOf(reference) != 0 && sequenceOf(reference) != header->sequence))
        return std::nullopt;
    return header;
}

// The attribute list's bytes, resident or in runs of its own.
bool readAttributeList(RawVolume& volume, const Geometry& geometry, const Attribute& attribute,
                       std::vector<unsigned char>& list) {
    if (attribute.resident) {
        const std::optional<Bytes> value = residentValue(attribute);
        if (!value) return false;
        value->copyTo(list);
        return true;
    }
    const std::optional<NonResident> header = parseNonResident(attribute);
    std::vector<Extent> runs;
    if (!header || header->lowestCluster != 0 || !decodeRuns(header->runs, geometry.volumeClusters, runs)) return false;
    uint64_t clusters = 0;
    for (const Extent& run : runs) {
        if (run.lcn < 0) return false;
        clusters += run.clusters;  // each run lies on the volume
        if (clusters > largestAttributeList / geometry.clusterBytes + 1) return false;
    }
    const uint64_t bytes = clusters * geometry.clusterBytes;  // bounded just above
    if (header->dataSize > largestAttributeList || header->dataSize > bytes) return false;
    SectorBuffer buffer(static_cast<size_t>(bytes));
    if (!buffer.data()) return false;
    size_t done = 0;
    for (const Extent& run : runs) {
        const size_t runBytes = static_cast<size_t>(run.clusters * geometry.clusterBytes);
        const std::optional<uint64_t> offset = checkedProduct(static_cast<uint64_t>(run.lcn), geometry.clusterBytes);
        if (!offset || !volume.read(*offset, buffer.data() + done, runBytes)) return false;
        done += runBytes;
    }
    Bytes(buffer.data(), static_cast<size_t>(header->dataSize)).copyTo(list);
    return true;
}

// Adds the pieces of the table's data that lie in other records, as the attribute
// list names them. Each piece must follow on from the one before, so every entry
// costs one record read and the work follows the list's length.
TableRead gatherPieces(RawVolume& volume, const Geometry& geometry, const std::vector<unsigned char>& list,
                       uint16_t tableSequence, uint64_t& nextCluster, TableRuns& runs, uint64_t& work,
                       const std::function<bool()>& stop) {
    SectorBuffer record(geometry.recordBytes);
    if (!record.data()) return TableRead::refused;
    const Bytes bytes(list.data(), list.size());
    size_t at = 0;
    while (at < list.size()) {
        ++work;
        if (stop()) return TableRead::stopped;
        const std::optional<ListEntry> entry = parseListEntry(bytes.from(at).value_or(Bytes()));
        if (!entry) return TableRead::refused;
        at += entry->length;
        if (entry->type != typeData || entry->nameLength != 0) continue;
        if (recordOf(entry->reference) == 0) {
            if (entry->lowestCluster != 0) return TableRead::refused;  // record 0 holds the start of the table
            continue;
        }
        if (entry->lowestCluster != nextCluster) return TableRead::refused;
        const std::optional<RecordHeader> header =
            readExtensionRecord(volume, geometry, runs, nextCluster, entry->reference, tableSequence, record);
        if (!header) return TableRead::refused;
        std::optional<Piece> piece;
        const bool sound = forEachAttribute(Bytes(record.data(), geometry.recordBytes), *header, [&](const Attribute& attribute) {
            if (attribute.type != typeData || attribute.nameLength != 0 || attribute.resident) return true;
            const std::optional<NonResident> data = parseNonResident(attribute);
            if (!data) return false;
            if (data->lowestCluster != entry->lowestCluster) return true;
            piece = dataPiece(*data, geometry);
            return piece.has_value();
        });
        if (!sound || !piece) return TableRead::refused;
        if (!runs.add(piece->extents)) return TableRead::refused;
        const std::optional<uint64_t> next = checkedSum(nextCluster, piece->clusters);
        if (!next) return TableRead::refused;
        nextCluster = *next;
    }
    return TableRead::whole;
}

}  // namespace

std::optional<Geometry> readGeometry(RawVolume& volume) {
    SectorBuffer sector(4096);
    if (!sector.data() || !volume.read(0, sector.data(), 4096)) return std::nullopt;
    const std::optional<BootSector> boot = parseBootSector(Bytes(sector.data(), 4096));
    if (!boot) return std::nullopt;
    // The device, not the boot sector, says how big the volume is.
    const std::optional<uint64_t> claimed = checkedProduct(boot->totalSectors, boot->sectorBytes);
    if (!claimed || *claimed < boot->sectorBytes) return std::nullopt;
    if (const std::optional<uint64_t> device = volume.length()) {
        if (*claimed > *device) return std::nullopt;
    } else if (!volume.read(*claimed - boot->sectorBytes, sector.data(), boot->sectorBytes)) {
        return std::nullopt;  // where the device cannot tell, its last claimed sector must be there
    }
    Geometry geometry;
    geometry.clusterBytes = boot->clusterBytes;
    geometry.recordBytes = boot->recordBytes;
    geometry.volumeClusters = *claimed / boot->clusterBytes;
    if (boot->tableCluster == 0 || boot->tableCluster >= geometry.volumeClusters) return std::nullopt;
    geometry.tableOffset = boot->tableCluster * boot->clusterBytes;  // inside the claimed bytes
    return geometry;
}

TableRead readTableLayout(RawVolume& volume, const Geometry& geometry, TableLayout& layout,
                          const std::function<bool()>& stop) {
    SectorBuffer first(geometry.recordBytes);
    if (!first.data() || !volume.read(geometry.tableOffset, first.data(), geometry.recordBytes) ||
        !applyFixups(first.data(), geometry.recordBytes))
        return TableRead::refused;
    const Bytes record(first.data(), geometry.recordBytes);
    const std::optional<RecordHeader> header = parseRecordHeader(record);
    if (!header || !header->inUse() || header->baseReference != 0 || !carriesNumber(*header, 0))
        return TableRead::refused;
    std::optional<NonResident> data;
    std::optional<Piece> firstPiece;
    std::vector<unsigned char> list;
    bool haveList = false;
    const bool sound = forEachAttribute(record, *header, [&](const Attribute& attribute) {
        if (attribute.type == typeAttributeList) {
            if (haveList) return false;
            haveList = true;
            return readAttributeList(volume, geometry, attribute, list);
        }
        if (attribute.type != typeData || attribute.nameLength != 0) return true;
        if (data) return false;
        data = parseNonResident(attribute);
        if (!data || data->lowestCluster != 0) return false;
        firstPiece = dataPiece(*data, geometry);
        return firstPiece.has_value();
    });
    if (!sound || !firstPiece) return TableRead::refused;
    // The table's first cluster is where the boot sector says it is.
    if (static_cast<uint64_t>(firstPiece->extents[0].lcn) * geometry.clusterBytes != geometry.tableOffset)
        return TableRead::refused;
    // Each run takes at least a cluster: no more of them than the clusters the
    // table's data has room for.
    TableRuns runs(geometry, layout.work);
    runs.limitTo(data->allocatedSize / geometry.clusterBytes + 1);
    if (!runs.add(firstPiece->extents)) return TableRead::refused;
    uint64_t nextCluster = firstPiece->clusters;
    if (haveList) {
        const TableRead gathered =
            gatherPieces(volume, geometry, list, header->sequence, nextCluster, runs, layout.work, stop);
        if (gathered != TableRead::whole) return gathered;
    }
    // The records claimed are believed only as far as the runs map clusters for them.
    // The pieces follow on from one another from the table's first cluster: they map nextCluster clusters.
    const std::optional<uint64_t> mapped = checkedProduct(nextCluster, geometry.clusterBytes);
    const uint64_t tableBytes = data->dataSize;
    if (!mapped || tableBytes > data->allocatedSize || tableBytes > *mapped ||
        tableBytes < geometry.recordBytes * 16ULL)
        return TableRead::refused;
    const uint64_t records = tableBytes / geometry.recordBytes;
    if (records > 0xFFFFFFFFULL) return TableRead::refused;
    // And the last of them is really there.
    SectorBuffer last(geometry.recordBytes);
    if (!last.data() || !runs.read(volume, (records - 1) * geometry.recordBytes, last.data(), geometry.recordBytes))
        return TableRead::refused;
    layout.records = static_cast<uint32_t>(records);
    runs.takeInto(layout);
    return TableRead::whole;
}
