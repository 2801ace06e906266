#pragma once
// The parts of NTFS's on-disk format the fast scan reads: named offsets, and the
// readers of a record's attributes and of a non-resident attribute's runs. Every
// reader checks what it reads against the bytes it was given; none trusts a
// length or an offset it found there.
#include <cstdint>
#include <cstring>
#include <vector>

namespace ntfs {

// Boot sector.
constexpr uint32_t bootOemName = 0x03;         // "NTFS    "
constexpr uint32_t bootSectorBytes = 0x0B;     // u16
constexpr uint32_t bootSectorsPerCluster = 0x0D;  // u8; above 0x80 a negative power of two
constexpr uint32_t bootTotalSectors = 0x28;    // u64
constexpr uint32_t bootTableCluster = 0x30;    // u64: $MFT's first cluster
constexpr uint32_t bootClustersPerRecord = 0x40;  // s8; negative: 2^-n bytes

// File record header.
constexpr uint32_t recordFixupOffset = 0x04;   // u16
constexpr uint32_t recordFixupCount = 0x06;    // u16
constexpr uint32_t recordSequence = 0x10;      // u16
constexpr uint32_t recordFirstAttribute = 0x14;  // u16
constexpr uint32_t recordFlags = 0x16;         // u16
constexpr uint32_t recordBytesUsed = 0x18;     // u32
constexpr uint32_t recordBaseReference = 0x20;  // u64; 0 for a base record
constexpr uint16_t recordInUse = 0x01, recordIsFolder = 0x02;

// Attribute header, resident and non-resident.
constexpr uint32_t attributeType = 0x00;       // u32
constexpr uint32_t attributeLength = 0x04;     // u32
constexpr uint32_t attributeNonResident = 0x08;  // u8
constexpr uint32_t attributeNameLength = 0x09;   // u8, characters
constexpr uint32_t residentValueLength = 0x10;   // u32
constexpr uint32_t residentValueOffset = 0x14;   // u16
constexpr uint32_t nonResidentLowestCluster = 0x10;   // u64, in the attribute's own clusters (VCN)
constexpr uint32_t nonResidentHighestCluster = 0x18;  // u64
constexpr uint32_t nonResidentRunsOffset = 0x20;      // u16
constexpr uint32_t nonResidentAllocatedSize = 0x28;   // u64
constexpr uint32_t nonResidentDataSize = 0x30;        // u64
constexpr uint32_t nonResidentHeaderBytes = 0x40;

constexpr uint32_t typeStandardInformation = 0x10, typeAttributeList = 0x20, typeFileName = 0x30, typeData = 0x80,
                   typeEnd = 0xFFFFFFFF;

// $STANDARD_INFORMATION's value.
constexpr uint32_t standardLastWrite = 0x08;   // u64
constexpr uint32_t standardAttributes = 0x20;  // u32, as Windows gives a file's attributes
constexpr uint32_t standardMinimumBytes = 0x24;

// $FILE_NAME's value.
constexpr uint32_t fileNameParent = 0x00;      // u64 reference
constexpr uint32_t fileNameLength = 0x40;      // u8, characters
constexpr uint32_t fileNameSpace = 0x41;       // u8
constexpr uint32_t fileNameText = 0x42;        // UTF-16
constexpr uint8_t dosOnlyName = 2;

// $ATTRIBUTE_LIST's entries.
constexpr uint32_t listEntryType = 0x00;       // u32
constexpr uint32_t listEntryLength = 0x04;     // u16
constexpr uint32_t listEntryNameLength = 0x06;  // u8
constexpr uint32_t listEntryLowestCluster = 0x08;  // u64
constexpr uint32_t listEntryReference = 0x10;  // u64: the record that holds the attribute
constexpr uint32_t listEntryMinimumBytes = 0x1A;

// The update sequence's stride, whatever the sector size.
constexpr uint32_t strideBytes = 512;
constexpr uint64_t referenceRecordMask = 0x0000FFFFFFFFFFFFULL;

inline uint16_t u16(const unsigned char* at) {
    uint16_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}
inline uint32_t u32(const unsigned char* at) {
    uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}
inline uint64_t u64(const unsigned char* at) {
    uint64_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

struct Attribute {
    uint32_t type;
    const unsigned char* at;  // its header
    uint32_t length;          // the header's bytes and what follows it, all inside the record
    bool resident;
    uint8_t nameLength;
};

// Undoes a record's update sequence; false when it does not check out.
bool applyFixups(unsigned char* record, uint32_t size);

// Calls `each` (bool(const Attribute&)) for every attribute of a fixed-up record;
// false when the layout is not sound or `each` says so.
template <typename Each>
bool forEachAttribute(const unsigned char* record, uint32_t size, Each each) {
    if (size < recordBaseReference + 8) return false;
    const uint32_t used = u32(record + recordBytesUsed) < size ? u32(record + recordBytesUsed) : size;
    uint32_t at = u16(record + recordFirstAttribute);
    while (at <= used && used - at >= 4) {
        const uint32_t type = u32(record + at + attributeType);
        if (type == typeEnd) return true;
        if (used - at < 16) return false;
        const uint32_t length = u32(record + at + attributeLength);
        if (length < 16 || length > used - at) return false;
        if (!each(Attribute{type, record + at, length, record[at + attributeNonResident] == 0,
                            record[at + attributeNameLength]}))
            return false;
        at += length;
    }
    return false;
}

// A resident attribute's value, inside the attribute; false when it does not fit.
bool residentValue(const Attribute& attribute, const unsigned char*& value, uint32_t& length);

// A run of clusters; lcn -1 for a hole.
struct Extent {
    long long lcn;
    unsigned long long clusters;
};

// Appends a non-resident attribute's runs; false when they do not decode, or a run
// is empty or reaches past `volumeClusters`.
bool decodeRuns(const Attribute& attribute, unsigned long long volumeClusters, std::vector<Extent>& extents);

}  // namespace ntfs
