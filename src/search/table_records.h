#pragma once
// An NTFS volume's file table as the fast scan reads it: the volume's geometry
// from its boot sector, where the table lies, and of each record no more than a
// search needs (in use, folder, link, size, last write, names with their parents),
// held in flat arrays so that a volume of a million files costs tens of megabytes.
#include <cstdint>
#include <string_view>
#include <vector>

class RawVolume;

constexpr uint32_t rootRecord = 5, extendRecord = 11, firstUserRecord = 16;

struct Geometry {
    uint32_t clusterBytes = 0;
    uint32_t recordBytes = 0;
    unsigned long long tableOffset = 0;
};

// A run of clusters; lcn -1 for a hole.
struct Extent {
    long long lcn;
    unsigned long long clusters;
};

// False when the boot sector is not an NTFS one this reader knows.
bool readGeometry(RawVolume& volume, Geometry& geometry);
// Where the table's own records lie, from its first record; false when that record
// cannot be read or spills into others.
bool readTableExtents(RawVolume& volume, const Geometry& geometry, std::vector<Extent>& extents,
                      unsigned long long& tableBytes);

struct TableName {
    uint32_t record;
    uint32_t parent;
    uint16_t parentSequence;
    uint16_t length;  // characters
    uint32_t text;    // where in the names' text
};

class TableRecords {
public:
    void reserve(uint32_t records);
    // Takes one record (its update sequence undone here); false when a record in
    // use is not sound.
    bool add(uint32_t number, unsigned char* record, uint32_t size);

    uint32_t recordCount() const { return static_cast<uint32_t>(flags_.size()); }
    bool inUse(uint32_t record) const { return record < flags_.size() && (flags_[record] & inUseFlag); }
    bool isFolder(uint32_t record) const { return flags_[record] & folderFlag; }
    bool isLink(uint32_t record) const { return attributes_[record] & 0x400; }
    uint16_t sequence(uint32_t record) const { return sequences_[record]; }
    // The file's reference, as Windows gives it for its index: record and sequence.
    unsigned long long reference(uint32_t record) const {
        return record | (static_cast<unsigned long long>(sequences_[record]) << 48);
    }
    long long size(uint32_t record) const { return sizes_[record]; }
    long long lastWrite(uint32_t record) const { return lastWrites_[record]; }
    const std::vector<TableName>& names() const { return names_; }
    // A folder's name (folders have one besides any short name); null when none.
    const TableName* firstName(uint32_t record);
    std::wstring_view text(const TableName& name) const {
        return std::wstring_view(text_.data() + name.text, name.length);
    }

private:
    static constexpr uint8_t inUseFlag = 1, folderFlag = 2;
    void grow(uint32_t record);

    std::vector<uint8_t> flags_;
    std::vector<uint16_t> sequences_;
    std::vector<uint32_t> attributes_;
    std::vector<long long> sizes_, lastWrites_;
    std::vector<TableName> names_;
    std::vector<wchar_t> text_;
    std::vector<uint32_t> firstNames_;  // index into names_ + 1, by record; built when first asked
};

// Undoes a record's update sequence; false when it does not check out.
bool applyFixups(unsigned char* record, uint32_t size);
