#pragma once
// The parts of NTFS's on-disk format the fast scan reads. Every field is read
// through a view that knows where its bytes end: `Bytes`, whose reads past the
// end give nothing, or `Fixed`, a structure whose length was checked once and
// whose fields' offsets the compiler checks against it. Each structure is parsed
// into a typed value in one place, so no code above this file reads a raw
// offset. Offsets and sizes made from what a disk claims are computed in checked
// arithmetic.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace ntfs {

template <size_t Length>
class Fixed;

// A run of bytes and where it ends.
class Bytes {
public:
    Bytes() = default;
    Bytes(const unsigned char* data, size_t size) : data_(data), size_(size) {}

    size_t size() const { return size_; }
    std::optional<uint8_t> u8(size_t at) const { return read<uint8_t>(at); }
    std::optional<uint16_t> u16(size_t at) const { return read<uint16_t>(at); }
    std::optional<uint32_t> u32(size_t at) const { return read<uint32_t>(at); }
    std::optional<uint64_t> u64(size_t at) const { return read<uint64_t>(at); }
    // The `length` bytes from `at`; nothing unless they all lie inside.
    std::optional<Bytes> part(size_t at, size_t length) const {
        if (at > size_ || length > size_ - at) return std::nullopt;
        return Bytes(data_ + at, length);
    }
    std::optional<Bytes> from(size_t at) const {
        if (at > size_) return std::nullopt;
        return Bytes(data_ + at, size_ - at);
    }
    // A structure's `Length` bytes from `at`, checked once here, so that its
    // fields can be read at offsets the compiler checks against that length.
    template <size_t Length>
    std::optional<Fixed<Length>> fixed(size_t at = 0) const;
    bool startsWith(const char* text, size_t length) const {
        return length <= size_ && std::memcmp(data_, text, length) == 0;
    }
    // Copies the view's bytes out: for a value kept past the buffer it lies in.
    void copyTo(std::vector<unsigned char>& out) const { out.assign(data_, data_ + size_); }
    // Appends the view's bytes read as 16-bit units, as many as it holds whole.
    template <typename Units>
    void appendUnitsTo(Units& out) const {
        using Unit = typename Units::value_type;
        const size_t first = out.size(), units = size_ / 2;
        out.resize(first + units);
        if constexpr (sizeof(Unit) == 2) {
            std::memcpy(out.data() + first, data_, 2 * units);  // Windows's wchar_t is UTF-16 already
        } else {
            for (size_t i = 0; i < units; ++i) {
                uint16_t unit;
                std::memcpy(&unit, data_ + 2 * i, 2);
                out[first + i] = static_cast<Unit>(unit);
            }
        }
    }

private:
    template <typename T>
    std::optional<T> read(size_t at) const {
        if (at > size_ || sizeof(T) > size_ - at) return std::nullopt;
        T value;
        std::memcpy(&value, data_ + at, sizeof value);
        return value;
    }

    const unsigned char* data_ = nullptr;
    size_t size_ = 0;
};

// `Length` bytes known to be there: a field is named by an offset that must lie
// inside them for the code to compile, so reading one needs no check at run time.
template <size_t Length>
class Fixed {
public:
    template <size_t At>
    uint8_t u8() const { return read<uint8_t, At>(); }
    template <size_t At>
    uint16_t u16() const { return read<uint16_t, At>(); }
    template <size_t At>
    uint32_t u32() const { return read<uint32_t, At>(); }
    template <size_t At>
    uint64_t u64() const { return read<uint64_t, At>(); }

private:
    friend class Bytes;
    explicit Fixed(const unsigned char* data) : data_(data) {}

    template <typename T, size_t At>
    T read() const {
        static_assert(At + sizeof(T) <= Length, "a field past the end of its structure");
        T value;
        std::memcpy(&value, data_ + At, sizeof value);
        return value;
    }

    const unsigned char* data_;
};

template <size_t Length>
std::optional<Fixed<Length>> Bytes::fixed(size_t at) const {
    if (at > size_ || Length > size_ - at) return std::nullopt;
    return Fixed<Length>(data_ + at);
}

// Checked arithmetic on what a disk claims: nothing where the result leaves 64 bits.
inline std::optional<uint64_t> checkedProduct(uint64_t a, uint64_t b) {
    if (a != 0 && b > UINT64_MAX / a) return std::nullopt;
    return a * b;
}
inline std::optional<uint64_t> checkedSum(uint64_t a, uint64_t b) {
    if (b > UINT64_MAX - a) return std::nullopt;
    return a + b;
}

// Where the fields of the structures read for every record lie; the parsers of
// those structures are defined at the end of this file, so that the scan's loop
// has them inline. Nothing outside the parsers reads by these offsets.
namespace layout {

// File record header.
constexpr size_t recordFixupOffset = 0x04;     // u16
constexpr size_t recordFixupCount = 0x06;      // u16
constexpr size_t recordSequence = 0x10;        // u16
constexpr size_t recordFirstAttribute = 0x14;  // u16
constexpr size_t recordFlags = 0x16;           // u16
constexpr size_t recordBytesUsed = 0x18;       // u32
constexpr size_t recordBaseReference = 0x20;   // u64
constexpr size_t recordNumber = 0x2C;          // u32, in records whose update sequence starts at 0x30 or later
constexpr size_t recordHeaderBytes = 0x30;

// Attribute header, resident and non-resident.
constexpr size_t attributeType = 0x00;          // u32
constexpr size_t attributeLength = 0x04;        // u32
constexpr size_t attributeNonResident = 0x08;   // u8
constexpr size_t attributeNameLength = 0x09;    // u8, characters
constexpr size_t attributeFlags = 0x0C;         // u16: compressed 0x0001, sparse 0x8000
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
constexpr size_t nonResidentHeldSize = 0x40;        // u64, in a compressed or sparse stream's first piece
constexpr size_t nonResidentHeldHeaderBytes = 0x48;

// $STANDARD_INFORMATION's value.
constexpr size_t standardLastWrite = 0x08;    // u64
constexpr size_t standardAttributes = 0x20;   // u32
constexpr size_t standardMinimumBytes = 0x24;

// $FILE_NAME's value.
constexpr size_t fileNameParent = 0x00;   // u64 reference
constexpr size_t fileNameLength = 0x40;   // u8, characters
constexpr size_t fileNameSpace = 0x41;    // u8
constexpr size_t fileNameText = 0x42;     // UTF-16

}  // namespace layout

constexpr uint64_t referenceRecordMask = 0x0000FFFFFFFFFFFFULL;
inline uint64_t recordOf(uint64_t reference) { return reference & referenceRecordMask; }
inline uint16_t sequenceOf(uint64_t reference) { return static_cast<uint16_t>(reference >> 48); }

// The boot sector, its fields as this reader believes them: sizes that are powers
// of two within what Windows formats, the table's first cluster on the volume.
struct BootSector {
    uint32_t sectorBytes = 0;
    uint32_t clusterBytes = 0;
    uint32_t recordBytes = 0;
    uint64_t totalSectors = 0;
    uint64_t tableCluster = 0;
};
std::optional<BootSector> parseBootSector(Bytes sector);

// A file record's header, after its update sequence was undone.
struct RecordHeader {
    uint16_t sequence = 0;
    uint16_t flags = 0;
    uint16_t firstAttribute = 0;
    uint32_t bytesUsed = 0;       // at most the record's size
    uint64_t baseReference = 0;   // 0 for a base record
    std::optional<uint32_t> number;  // the record's own number, where the format has it (NTFS 3.1)

    bool inUse() const { return flags & 0x01; }
    bool isFolder() const { return flags & 0x02; }
};
// True for a record that was never written (all zeros where a signature would be).
inline bool isBlankRecord(Bytes record) { return record.u32(0) == uint32_t{0}; }
inline bool hasRecordSignature(Bytes record) { return record.startsWith("FILE", 4); }
// The in-use flag, readable before the update sequence is undone.
inline bool saysInUse(Bytes record) { return record.u16(layout::recordFlags).value_or(0) & 0x01; }
// Undoes a record's update sequence in place; false when it does not check out.
bool applyFixups(unsigned char* record, size_t size);
inline std::optional<RecordHeader> parseRecordHeader(Bytes record);

constexpr uint32_t typeStandardInformation = 0x10, typeAttributeList = 0x20, typeFileName = 0x30, typeData = 0x80,
                   typeReparsePoint = 0xC0,
                   typeEnd = 0xFFFFFFFF;

struct Attribute {
    uint32_t type = 0;
    Bytes bytes;  // its header and what follows it, all inside the record
    bool resident = true;
    uint8_t nameLength = 0;  // characters; 0 for the unnamed stream
};

// The attribute that starts `at` bytes into a record's used bytes, or the end
// marker there, or neither when what lies there is not sound.
enum class AttributeStep { attribute, end, unsound };
inline AttributeStep attributeAt(Bytes used, size_t at, Attribute& attribute);

// Calls `each` (bool(const Attribute&)) for every attribute of a fixed-up record;
// false when the layout is not sound or `each` says so.
template <typename Each>
bool forEachAttribute(Bytes record, const RecordHeader& header, Each&& each) {
    const std::optional<Bytes> used = record.part(0, header.bytesUsed);
    if (!used) return false;
    for (size_t at = header.firstAttribute;;) {
        Attribute attribute;
        const AttributeStep step = attributeAt(*used, at, attribute);
        if (step != AttributeStep::attribute) return step == AttributeStep::end;
        if (!each(attribute)) return false;
        at += attribute.bytes.size();  // at least a header's bytes: the walk moves on
    }
}

// A resident attribute's value, inside the attribute.
inline std::optional<Bytes> residentValue(const Attribute& attribute);

// A non-resident attribute's header: which of its own clusters (VCNs) this piece
// of it maps, its sizes, and its run list.
struct NonResident {
    uint64_t lowestCluster = 0;
    uint64_t highestCluster = 0;
    uint64_t allocatedSize = 0;
    uint64_t dataSize = 0;
    // What a compressed or sparse stream really holds on the disk, where its
    // first piece says so.
    std::optional<uint64_t> heldSize;
    Bytes runs;
};
inline std::optional<NonResident> parseNonResident(const Attribute& attribute);

// A run of clusters; lcn -1 for a hole.
struct Extent {
    long long lcn;
    unsigned long long clusters;
};

// Windows's NTFS gives a file at most 2^32 clusters, whatever their size.
constexpr uint64_t mostFileClusters = 1ULL << 32;

// Appends a run list's runs; false when they do not decode, or a run is empty,
// reaches past `volumeClusters`, or is a hole longer than a file can be.
bool decodeRuns(Bytes runs, unsigned long long volumeClusters, std::vector<Extent>& extents);

struct StandardInformation {
    uint64_t lastWrite = 0;
    uint32_t attributes = 0;  // as Windows gives a file's attributes
};
inline std::optional<StandardInformation> parseStandardInformation(Bytes value);

struct FileName {
    uint64_t parent = 0;  // reference
    uint8_t space = 0;
    Bytes text;  // UTF-16, `length` characters, at least one
    uint8_t length = 0;

    bool dosOnly() const { return space == 2; }
};
inline std::optional<FileName> parseFileName(Bytes value);

// An entry of an attribute list, and the bytes that follow it.
struct ListEntry {
    uint32_t type = 0;
    uint8_t nameLength = 0;
    uint64_t lowestCluster = 0;
    uint64_t reference = 0;  // the record that holds the attribute
    uint16_t length = 0;     // the entry's own bytes
};
constexpr size_t listEntryMinimumBytes = 0x1A;
std::optional<ListEntry> parseListEntry(Bytes rest);

// The update sequence's stride, whatever the sector size.
constexpr uint32_t strideBytes = 512;


inline std::optional<RecordHeader> parseRecordHeader(Bytes record) {
    using namespace layout;
    const std::optional<Fixed<recordHeaderBytes>> fields = record.fixed<recordHeaderBytes>();
    if (!fields || !hasRecordSignature(record)) return std::nullopt;
    RecordHeader header;
    header.sequence = fields->u16<recordSequence>();
    header.flags = fields->u16<recordFlags>();
    header.firstAttribute = fields->u16<recordFirstAttribute>();
    header.bytesUsed = static_cast<uint32_t>(std::min<uint64_t>(fields->u32<recordBytesUsed>(), record.size()));
    header.baseReference = fields->u64<recordBaseReference>();
    if (fields->u16<recordFixupOffset>() >= recordNumber + 4) header.number = fields->u32<recordNumber>();
    return header;
}

inline AttributeStep attributeAt(Bytes used, size_t at, Attribute& attribute) {
    using namespace layout;
    // The list must end inside the bytes used.
    const std::optional<Fixed<4>> type = used.fixed<4>(at);
    if (!type) return AttributeStep::unsound;
    if (type->u32<attributeType>() == typeEnd) return AttributeStep::end;
    const std::optional<Fixed<attributeHeaderBytes>> header = used.fixed<attributeHeaderBytes>(at);
    if (!header) return AttributeStep::unsound;
    const uint32_t length = header->u32<attributeLength>();
    const std::optional<Bytes> bytes = used.part(at, length);
    if (length < attributeHeaderBytes || !bytes) return AttributeStep::unsound;
    attribute.type = header->u32<attributeType>();
    attribute.bytes = *bytes;
    attribute.resident = header->u8<attributeNonResident>() == 0;
    attribute.nameLength = header->u8<attributeNameLength>();
    return AttributeStep::attribute;
}

inline std::optional<Bytes> residentValue(const Attribute& attribute) {
    using namespace layout;
    const std::optional<Fixed<residentHeaderBytes>> header = attribute.bytes.fixed<residentHeaderBytes>();
    if (!attribute.resident || !header) return std::nullopt;
    return attribute.bytes.part(header->u16<residentValueOffset>(), header->u32<residentValueLength>());
}

inline std::optional<NonResident> parseNonResident(const Attribute& attribute) {
    using namespace layout;
    const std::optional<Fixed<nonResidentHeaderBytes>> header = attribute.bytes.fixed<nonResidentHeaderBytes>();
    if (attribute.resident || !header) return std::nullopt;
    const std::optional<Bytes> runs = attribute.bytes.from(header->u16<nonResidentRunsOffset>());
    if (!runs) return std::nullopt;
    NonResident piece;
    piece.lowestCluster = header->u64<nonResidentLowestCluster>();
    piece.highestCluster = header->u64<nonResidentHighestCluster>();
    piece.allocatedSize = header->u64<nonResidentAllocatedSize>();
    piece.dataSize = header->u64<nonResidentDataSize>();
    constexpr uint16_t compressedOrSparse = 0x0001 | 0x8000;
    if (piece.lowestCluster == 0 && (header->u16<attributeFlags>() & compressedOrSparse)) {
        if (const std::optional<Fixed<nonResidentHeldHeaderBytes>> longer = attribute.bytes.fixed<nonResidentHeldHeaderBytes>())
            piece.heldSize = longer->u64<nonResidentHeldSize>();
    }
    piece.runs = *runs;
    return piece;
}

inline std::optional<StandardInformation> parseStandardInformation(Bytes value) {
    using namespace layout;
    const std::optional<Fixed<standardMinimumBytes>> fields = value.fixed<standardMinimumBytes>();
    if (!fields) return std::nullopt;
    StandardInformation information;
    information.lastWrite = fields->u64<standardLastWrite>();
    information.attributes = fields->u32<standardAttributes>();
    return information;
}

inline std::optional<FileName> parseFileName(Bytes value) {
    using namespace layout;
    const std::optional<Fixed<fileNameText>> fields = value.fixed<fileNameText>();
    if (!fields) return std::nullopt;
    FileName name;
    name.parent = fields->u64<fileNameParent>();
    name.length = fields->u8<fileNameLength>();
    name.space = fields->u8<fileNameSpace>();
    // A name holds at least one character, and all it claims.
    const std::optional<Bytes> text = value.part(fileNameText, 2u * name.length);
    if (name.length == 0 || !text) return std::nullopt;
    name.text = *text;
    return name;
}

}  // namespace ntfs
