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

// File record header.
constexpr size_t recordFixupOffset = 0x04;    // u16
constexpr size_t recordFixupCount = 0x06;     // u16
constexpr size_t recordSequence = 0x10;       // u16
constexpr size_t recordFirstAttribute = 0x14;  // u16
constexpr size_t recordFlags = 0x16;          // u16
constexpr size_t recordBytesUsed = 0x18;      // u32
constexpr size_t recordBaseReference = 0x20;  // u64
constexpr size_t recordNumber = 0x2C;         // u32, in records whose update sequence starts at 0x30 or later

// Attribute header, resident and non-resident.
constexpr size_t attributeType = 0x00;          // u32
constexpr size_t attributeLength = 0x04;        // u32
constexpr size_t attributeNonResident = 0x08;   // u8
constexpr size_t attributeNameLength = 0x09;    // u8, characters
constexpr size_t attributeHeaderBytes = 0x10;
constexpr size_t residentValueLength = 0x10;    // u32
constexpr size_t residentValueOffset = 0x14;    // u16
constexpr size_t residentHeaderBytes = 0x18;
constexpr size_t nonResidentLowestCluster = 0x10;   // u64, in the attribute's own clusters (VCN)
constexpr size_t nonResidentHighestCluster = 0x18;  // u64
constexpr size_t nonResidentRunsOffset = 0x20;      // u16
constexpr size_t nonResidentAllocatedSize = 0x28;   // u64
constexpr size_t nonResidentDataSize = 0x30;        // u64
constexpr size_t nonResidentHeaderBytes = 0x40;

// $STANDARD_INFORMATION's value.
constexpr size_t standardLastWrite = 0x08;    // u64
constexpr size_t standardAttributes = 0x20;   // u32
constexpr size_t standardMinimumBytes = 0x24;

// $FILE_NAME's value.
constexpr size_t fileNameParent = 0x00;   // u64 reference
constexpr size_t fileNameLength = 0x40;   // u8, characters
constexpr size_t fileNameSpace = 0x41;    // u8
constexpr size_t fileNameText = 0x42;     // UTF-16

// $ATTRIBUTE_LIST's entries.
constexpr size_t listEntryType = 0x00;         // u32
constexpr size_t listEntryLength = 0x04;       // u16
constexpr size_t listEntryNameLength = 0x06;   // u8
constexpr size_t listEntryLowestCluster = 0x08;  // u64
constexpr size_t listEntryReference = 0x10;    // u64

// Reads a structure's fields from one view: a field that does not fit reads as
// zero and leaves the whole read unsound, so no field is ever read past the end.
class Fields {
public:
    explicit Fields(Bytes bytes) : bytes_(bytes) {}
    uint8_t u8(size_t at) { return take(bytes_.u8(at)); }
    uint16_t u16(size_t at) { return take(bytes_.u16(at)); }
    uint32_t u32(size_t at) { return take(bytes_.u32(at)); }
    uint64_t u64(size_t at) { return take(bytes_.u64(at)); }
    bool sound() const { return sound_; }

private:
    template <typename T>
    T take(std::optional<T> value) {
        if (!value) sound_ = false;
        return value.value_or(T{0});
    }

    Bytes bytes_;
    bool sound_ = true;
};

bool powerOfTwo(uint64_t value) { return value != 0 && (value & (value - 1)) == 0; }

// A little-endian number of `count` bytes (at most 8) from `at`; `signExtend` for a run's offset.
std::optional<uint64_t> variableNumber(Bytes bytes, size_t at, unsigned count, bool signExtend) {
    const std::optional<Bytes> field = bytes.part(at, count);
    if (!field || count == 0 || count > 8) return std::nullopt;
    Fields fields(*field);
    uint64_t value = 0;
    for (unsigned i = 0; i < count; ++i) value |= static_cast<uint64_t>(fields.u8(i)) << (8 * i);
    if (signExtend && count < 8 && (fields.u8(count - 1) & 0x80)) value |= ~0ULL << (8 * count);
    if (!fields.sound()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<BootSector> parseBootSector(Bytes sector) {
    const std::optional<Bytes> oem = sector.part(bootOemName, 8);
    Fields fields(sector);
    const uint16_t sectorBytes = fields.u16(bootSectorBytes);
    const uint8_t perClusterField = fields.u8(bootSectorsPerCluster);
    const uint64_t totalSectors = fields.u64(bootTotalSectors);
    const uint64_t tableCluster = fields.u64(bootTableCluster);
    const uint8_t perRecordField = fields.u8(bootClustersPerRecord);
    if (!oem || !oem->startsWith("NTFS    ", 8) || !fields.sound()) return std::nullopt;
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

bool isBlankRecord(Bytes record) { return record.u32(0) == uint32_t{0}; }
bool hasRecordSignature(Bytes record) { return record.startsWith("FILE", 4); }
bool saysInUse(Bytes record) { return record.u16(recordFlags).value_or(0) & 0x01; }

bool applyFixups(unsigned char* record, size_t size) {
    const Bytes bytes(record, size);
    const std::optional<uint16_t> offset = bytes.u16(recordFixupOffset), count = bytes.u16(recordFixupCount);
    if (size < strideBytes || size % strideBytes != 0 || !hasRecordSignature(bytes) || !offset || !count ||
        *count == 0 || *count - 1u != size / strideBytes)
        return false;
    const std::optional<Bytes> sequence = bytes.part(*offset, 2u * *count);
    if (!sequence) return false;
    Fields saved(*sequence);
    const uint16_t check = saved.u16(0);
    for (uint32_t i = 1; i < *count; ++i) {
        const size_t tail = i * strideBytes - 2;
        const std::optional<uint16_t> written = bytes.u16(tail);
        const uint16_t original = saved.u16(2 * i);
        if (!written || *written != check || !saved.sound()) return false;
        std::memcpy(record + tail, &original, 2);
    }
    return true;
}

std::optional<RecordHeader> parseRecordHeader(Bytes record) {
    // One check up front lets the compiler see every field below inside the view.
    if (!hasRecordSignature(record) || record.size() < recordHeaderBytes) return std::nullopt;
    Fields fields(record);
    RecordHeader header;
    header.sequence = fields.u16(recordSequence);
    header.flags = fields.u16(recordFlags);
    header.firstAttribute = fields.u16(recordFirstAttribute);
    header.bytesUsed = std::min<uint64_t>(fields.u32(recordBytesUsed), record.size());
    header.baseReference = fields.u64(recordBaseReference);
    if (fields.u16(recordFixupOffset) >= recordNumber + 4) header.number = fields.u32(recordNumber);
    if (!fields.sound()) return std::nullopt;
    return header;
}

AttributeStep attributeAt(Bytes used, size_t at, Attribute& attribute) {
    const std::optional<uint32_t> type = used.u32(at + attributeType);
    if (!type) return AttributeStep::unsound;  // the list must end inside the bytes used
    if (*type == typeEnd) return AttributeStep::end;
    const std::optional<uint32_t> length = used.u32(at + attributeLength);
    if (!length || *length < attributeHeaderBytes) return AttributeStep::unsound;
    const std::optional<Bytes> bytes = used.part(at, *length);
    if (!bytes) return AttributeStep::unsound;
    Fields fields(*bytes);
    attribute.type = *type;
    attribute.bytes = *bytes;
    attribute.resident = fields.u8(attributeNonResident) == 0;
    attribute.nameLength = fields.u8(attributeNameLength);
    return fields.sound() ? AttributeStep::attribute : AttributeStep::unsound;
}

std::optional<Bytes> residentValue(const Attribute& attribute) {
    if (!attribute.resident || attribute.bytes.size() < residentHeaderBytes) return std::nullopt;
    const std::optional<uint32_t> length = attribute.bytes.u32(residentValueLength);
    const std::optional<uint16_t> offset = attribute.bytes.u16(residentValueOffset);
    if (!length || !offset) return std::nullopt;
    return attribute.bytes.part(*offset, *length);
}

std::optional<NonResident> parseNonResident(const Attribute& attribute) {
    if (attribute.resident || attribute.bytes.size() < nonResidentHeaderBytes) return std::nullopt;
    Fields fields(attribute.bytes);
    NonResident piece;
    piece.lowestCluster = fields.u64(nonResidentLowestCluster);
    piece.highestCluster = fields.u64(nonResidentHighestCluster);
    piece.allocatedSize = fields.u64(nonResidentAllocatedSize);
    piece.dataSize = fields.u64(nonResidentDataSize);
    const std::optional<Bytes> runs = attribute.bytes.from(fields.u16(nonResidentRunsOffset));
    if (!fields.sound() || !runs) return std::nullopt;
    piece.runs = *runs;
    return piece;
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

std::optional<StandardInformation> parseStandardInformation(Bytes value) {
    if (value.size() < standardMinimumBytes) return std::nullopt;
    Fields fields(value);
    StandardInformation information;
    information.lastWrite = fields.u64(standardLastWrite);
    information.attributes = fields.u32(standardAttributes);
    if (!fields.sound()) return std::nullopt;
    return information;
}

std::optional<FileName> parseFileName(Bytes value) {
    if (value.size() < fileNameText) return std::nullopt;
    Fields fields(value);
    FileName name;
    name.parent = fields.u64(fileNameParent);
    name.length = fields.u8(fileNameLength);
    name.space = fields.u8(fileNameSpace);
    // A name holds at least one character, and all it claims.
    const std::optional<Bytes> text = value.part(fileNameText, 2u * name.length);
    if (!fields.sound() || name.length == 0 || !text) return std::nullopt;
    name.text = *text;
    return name;
}

std::optional<ListEntry> parseListEntry(Bytes rest) {
    Fields fields(rest);
    ListEntry entry;
    entry.type = fields.u32(listEntryType);
    entry.length = fields.u16(listEntryLength);
    entry.nameLength = fields.u8(listEntryNameLength);
    entry.lowestCluster = fields.u64(listEntryLowestCluster);
    entry.reference = fields.u64(listEntryReference);
    if (!fields.sound() || entry.length < listEntryMinimumBytes || entry.length > rest.size()) return std::nullopt;
    return entry;
}

}  // namespace ntfs
