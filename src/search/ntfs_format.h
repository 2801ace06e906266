#pragma once
// The parts of NTFS's on-disk format the fast scan reads. Every field is read
// through a view that knows where its bytes end (`Bytes`): a read past that end
// gives nothing rather than reading, and each structure is parsed into a typed
// value in one place, so no code above this file reads a raw offset. Offsets and
// sizes made from what a disk claims are computed in checked arithmetic.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace ntfs {

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
    bool startsWith(const char* text, size_t length) const {
        return length <= size_ && std::memcmp(data_, text, length) == 0;
    }
    // Copies the view's bytes out: for a value kept past the buffer it lies in.
    void copyTo(std::vector<unsigned char>& out) const { out.assign(data_, data_ + size_); }
    // Appends the view's bytes read as 16-bit units, as many as it holds whole.
    template <typename Unit>
    void appendUnitsTo(std::vector<Unit>& out) const {
        const size_t first = out.size(), units = size_ / 2;
        out.resize(first + units);
        for (size_t i = 0; i < units; ++i) {
            uint16_t unit;
            std::memcpy(&unit, data_ + 2 * i, 2);
            out[first + i] = static_cast<Unit>(unit);
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

// Checked arithmetic on what a disk claims: nothing where the result leaves 64 bits.
inline std::optional<uint64_t> checkedProduct(uint64_t a, uint64_t b) {
    if (a != 0 && b > UINT64_MAX / a) return std::nullopt;
    return a * b;
}
inline std::optional<uint64_t> checkedSum(uint64_t a, uint64_t b) {
    if (b > UINT64_MAX - a) return std::nullopt;
    return a + b;
}

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
constexpr size_t recordHeaderBytes = 0x28;
// True for a record that was never written (all zeros where a signature would be).
bool isBlankRecord(Bytes record);
bool hasRecordSignature(Bytes record);
// The in-use flag, readable before the update sequence is undone.
bool saysInUse(Bytes record);
// Undoes a record's update sequence in place; false when it does not check out.
bool applyFixups(unsigned char* record, size_t size);
std::optional<RecordHeader> parseRecordHeader(Bytes record);

constexpr uint32_t typeStandardInformation = 0x10, typeAttributeList = 0x20, typeFileName = 0x30, typeData = 0x80,
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
AttributeStep attributeAt(Bytes used, size_t at, Attribute& attribute);

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
std::optional<Bytes> residentValue(const Attribute& attribute);

// A non-resident attribute's header: which of its own clusters (VCNs) this piece
// of it maps, its sizes, and its run list.
struct NonResident {
    uint64_t lowestCluster = 0;
    uint64_t highestCluster = 0;
    uint64_t allocatedSize = 0;
    uint64_t dataSize = 0;
    Bytes runs;
};
std::optional<NonResident> parseNonResident(const Attribute& attribute);

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
std::optional<StandardInformation> parseStandardInformation(Bytes value);

struct FileName {
    uint64_t parent = 0;  // reference
    uint8_t space = 0;
    Bytes text;  // UTF-16, `length` characters, at least one
    uint8_t length = 0;

    bool dosOnly() const { return space == 2; }
};
std::optional<FileName> parseFileName(Bytes value);

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

}  // namespace ntfs
