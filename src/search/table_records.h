#pragma once
// An NTFS volume's file table as the fast scan keeps it: of each record no more
// than a search needs (in use, folder, link, size, last write, names with their
// parents), in flat arrays sized once for the records the table really holds,
// so that a volume of a million files costs tens of megabytes.
#include "search/ntfs_format.h"
#include "toolkit/file_attributes.h"

#include <cstdint>
#include <utility>
#include <string_view>
#include <vector>

constexpr uint32_t rootRecord = 5, extendRecord = 11, firstUserRecord = 16;

// Whether a table of `records` records can be kept in `addressBytes` of memory,
// counted before anything is sized: the arrays kept per record and room for a
// name of twenty characters each.
bool tableFitsIn(uint64_t records, uint64_t addressBytes);

struct TableName {
    uint32_t record;
    uint32_t parent;
    uint16_t parentSequence;
    uint16_t length;  // characters
    uint32_t text;    // where in the names' text
};

class TableRecords {
public:
    // Room for the table's records, numbered 0..records-1; a reference to any
    // other record is refused. A file's size is believed only within its
    // allocation, and that only as far as its pieces reach in `clusterBytes`.
    // False, with nothing taken, when the records could not fit what this
    // process can address (a 32-bit one holds about 2 GB).
    bool reserve(uint32_t records, uint32_t clusterBytes);
    // Takes record `number` (its update sequence undone here); false when a record
    // in use is not sound.
    bool add(uint32_t number, unsigned char* record, uint32_t size);
    // After the records up to `read` were added: false when a record says it
    // belongs to a file that is not there, or a file's size is more than all its
    // pieces map. Then names can be looked up.
    bool finish(uint32_t read);

    uint32_t recordCount() const { return static_cast<uint32_t>(flags_.size()); }
    bool inUse(uint32_t record) const { return record < flags_.size() && (flags_[record] & inUseFlag); }
    bool isFolder(uint32_t record) const { return flags_[record] & folderFlag; }
    bool isLink(uint32_t record) const { return attributes_[record] & attributeReparsePoint; }
    bool isOnlineOnly(uint32_t record) const { return attributes_[record] & onlineOnlyAttributes; }
    bool isReadOnly(uint32_t record) const { return attributes_[record] & attributeReadOnly; }
    uint16_t sequence(uint32_t record) const { return sequences_[record]; }
    // The file's reference, as Windows gives it for its index: record and sequence.
    unsigned long long reference(uint32_t record) const {
        return record | (static_cast<unsigned long long>(sequences_[record]) << 48);
    }
    long long size(uint32_t record) const { return sizes_[record]; }
    // What the file's data takes on the disk where its table says that is less
    // than its size (sparse, compressed); -1 for every other file.
    long long allocation(uint32_t record) const;
    // How many names the file has (besides short names), counted up to two.
    uint8_t nameCount(uint32_t record) const {
        return (flags_[record] & moreNamesFlag) ? 2 : (flags_[record] & oneNameFlag) ? 1 : 0;
    }
    long long lastWrite(uint32_t record) const { return lastWrites_[record]; }
    const std::vector<TableName>& names() const { return names_; }
    // A folder's name (folders have one besides any short name); null when none.
    const TableName* firstName(uint32_t record) const;
    std::wstring_view text(const TableName& name) const {
        return std::wstring_view(text_.data() + name.text, name.length);
    }

private:
    static constexpr uint8_t inUseFlag = 1, folderFlag = 2, oneNameFlag = 4, moreNamesFlag = 8, heldLessFlag = 16;
    // Kept apart from the record's own flags, which its base record sets.
    static constexpr uint8_t namesFlags = oneNameFlag | moreNamesFlag;
    struct Extension {
        uint32_t owner;
        uint16_t sequence;
    };
    // A file whose data lies in several records: the clusters its first piece's
    // sizes need, and, for every later piece, the clusters up to its end.
    struct DataReach {
        uint32_t owner;
        uint64_t clusters;
    };

    bool takeData(uint32_t owner, const ntfs::Attribute& attribute);

    std::vector<uint8_t> flags_;
    std::vector<uint16_t> sequences_;
    std::vector<uint32_t> attributes_;
    std::vector<long long> sizes_, lastWrites_;
    // The few files (sparse, compressed) whose data takes less than their size, by
    // record: most files take their size, and cost no room for it here.
    std::vector<std::pair<uint32_t, long long>> heldLess_;
    mutable size_t heldAsked_ = 0;  // where in heldLess_ the last answer stood
    std::vector<TableName> names_;
    std::vector<wchar_t> text_;
    std::vector<Extension> extensions_;  // records that hold more of another file's attributes
    std::vector<uint32_t> firstNames_;   // index into names_ + 1, by record
    std::vector<DataReach> sizesNeeded_, piecesReach_;
    unsigned clusterShift_ = 0;  // a cluster's bytes are a power of two
};
