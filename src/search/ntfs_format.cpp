#include "search/ntfs_format.h"

#include <algorithm>

namespace ntfs {

namespace {

// Boot sector.
constexpr size_t bootOemName = 0x03;             // "NTFS    "
constexpr size_t bootSectorBytes = 0x0B;         // u16
constexpr size_t bootSectorsPerCluster = 0x0D;   // u8; above 0x80 a negative power of two
constexpr size_t bootTotalSectors = 0x28;        // u64
constexpr size_t bootTableCluster = 0x30;        // u64: $MFT's first cluster
constexpr size_t bootClustersPerRecord = 0x40;   // s8; negative: 2^-n bytes
constexpr size_t bootFieldsBytes = 0x41;

// $ATTRIBUTE_LIST's entries.
constexpr size_t listEntryType = 0x00;         // u32
constexpr size_t listEntryLength = 0x04;       // u16
constexpr size_t listEntryNameLength = 0x06;   // u8
constexpr size_t listEntryLowestCluster = 0x08;  // u64
constexpr size_t listEntryReference = 0x10;    // u64
static_assert(listEntryReference + 8 <= listEntryMinimumBytes);

bool powerOfTwo(uint64_t value) { return value != 0 && (value & (value - 1)) == 0; }

// A little-endian number of `count` bytes (at most 8) from `at`; `signExtend` for a run's offset.
std::optional<uint64_t> variableNumber(Bytes bytes, size_t at, unsigned count, bool signExtend) {
    const std::optional<Bytes> field = bytes.part(at, count);
    if (!field || count == 0 || count > 8) return std::nullopt;
    uint64_t value = 0;
    uint8_t last = 0;
    for (unsigned i = 0; i < count; ++i) {
        last = field->u8(i).value_or(0);  // inside: the part holds `count` bytes
        value |= static_cast<uint64_t>(last) << (8 * i);
    }
    if (signExtend && count < 8 && (last & 0x80)) value |= ~0ULL << (8 * count);
    return value;
}

}  // namespace

std::optional<BootSector> parseBootSector(Bytes sector) {
    const std::optional<Fixed<bootFieldsBytes>> fields = sector.fixed<bootFieldsBytes>();
    const std::optional<Bytes> oem = sector.part(bootOemName, 8);
    if (!fields || !oem || !oem->startsWith("NTFS    ", 8)) return std::nullopt;
    const uint16_t sectorBytes = fields->u16<bootSectorBytes>();
    const uint8_t perClusterField = fields->u8<bootSectorsPerCluster>();
    const uint64_t totalSectors = fields->u64<bootTotalSectors>();
    const uint64_t tableCluster = fields->u64<bootTableCluster>();
    const uint8_t perRecordField = fields->u8<bootClustersPerRecord>();
    if (sectorBytes < 512 || sectorBytes > 4096 || !powerOfTwo(sectorBytes)) return std::nullopt;
    uint64_t perCluster = perClusterField;
    if (perCluster > 0x80) perCluster = 1ULL << std::min(256u - perClusterField, 31u);
    if (!powerOfTwo(perCluster) || perCluster > 4096) return std::nullopt;
    const uint64_t clusterBytes = sectorBytes * perCluster;
    if (clusterBytes > 2 * 1024 * 1024) return std::nullopt;
    const int perRecord = static_cast<signed char>(perRecordField);
    const uint64_t recordBytes =
        perRecord > 0 ? static_cast<uint64_t>(perRecord) * clusterBytes : 1ULL << std::min(-perRecord, 31);
    if (recordBytes < 1024 || recordBytes > 65536 || recordBytes < sectorBytes || !powerOfTwo(recordBytes))
        return std::nullopt;
    BootSector boot;
    boot.sectorBytes = sectorBytes;
    boot.clusterBytes = static_cast<uint32_t>(clusterBytes);
    boot.recordBytes = static_cast<uint32_t>(recordBytes);
    boot.totalSectors = totalSectors;
    boot.tableCluster = tableCluster;
    return boot;
}

bool applyFixups(unsigned char* record, size_t size) {
    using namespace layout;
    const Bytes bytes(record, size);
    const std::optional<Fixed<recordHeaderBytes>> header = bytes.fixed<recordHeaderBytes>();
    if (!header || size % strideBytes != 0 || !hasRecordSignature(bytes)) return false;
    // The check value, then what each stride's last two bytes held.
    const size_t count = header->u16<recordFixupCount>();
    if (count != size / strideBytes + 1) return false;
    const std::optional<Bytes> sequence = bytes.part(header->u16<recordFixupOffset>(), 2 * count);
    if (!sequence) return false;
    const uint16_t check = sequence->u16(0).value_or(0);
    size_t saved = 2;
    for (size_t end = strideBytes; end <= size; end += strideBytes, saved += 2) {
        const std::optional<uint16_t> written = bytes.u16(end - 2), original = sequence->u16(saved);
        if (!written || !original || *written != check) return false;
        std::memcpy(record + end - 2, &*original, 2);
    }
    return true;
}

bool decodeRuns(Bytes runs, unsigned long long volumeClusters, std::vector<Extent>& extents) {
    size_t at = 0;
    uint64_t lcn = 0;
    for (;;) {
        const std::optional<uint8_t> header = runs.u8(at++);
        if (!header) return false;  // the list must end inside its attribute
        if (*header == 0) return true;
        const unsigned lengthBytes = *header & 0x0F, offsetBytes = *header >> 4;
        const std::optional<uint64_t> clusters = variableNumber(runs, at, lengthBytes, false);
        if (!clusters || *clusters == 0) return false;
        at += lengthBytes;
        if (offsetBytes == 0) {
            // A hole holds no clusters of the volume: a sparse file may be larger
            // than its volume, never larger than a file can be.
            if (*clusters > mostFileClusters) return false;
            extents.push_back(Extent{-1, *clusters});
            continue;
        }
        const std::optional<uint64_t> delta = variableNumber(runs, at, offsetBytes, true);
        if (!delta || *clusters > volumeClusters) return false;
        at += offsetBytes;
        // Unsigned arithmetic wraps where a signed value could overflow; the result is checked.
        const uint64_t next = lcn + *delta;
        if (next >= volumeClusters || *clusters > volumeClusters - next) return false;
        lcn = next;
        extents.push_back(Extent{static_cast<long long>(lcn), *clusters});
    }
}

std::optional<ListEntry> parseListEntry(Bytes rest) {
    const std::optional<Fixed<listEntryMinimumBytes>> fields = rest.fixed<listEntryMinimumBytes>();
    if (!fields) return std::nullopt;
    ListEntry entry;
    entry.type = fields->u32<listEntryType>();
    entry.length = fields->u16<listEntryLength>();
    entry.nameLength = fields->u8<listEntryNameLength>();
    entry.lowestCluster = fields->u64<listEntryLowestCluster>();
    entry.reference = fields->u64<listEntryReference>();
    if (entry.length < listEntryMinimumBytes || entry.length > rest.size()) return std::nullopt;
    return entry;
}

}  // namespace ntfs
