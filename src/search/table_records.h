#pragma once
// An NTFS volume's file table as the fast scan keeps it: of each record no more
// than a search needs (in use, folder, link, size, last write, names with their
// parents), in flat arrays sized once for the records the table really holds,
// so that a volume of a million files costs tens of megabytes.
#include "search/ntfs_format.h"
#include "toolkit/file_attributes.h"
#include "toolkit/kept_blocks.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
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

// What the records of one stretch of the table add to the whole beyond their own
// places in it: the stretch is parsed on one thread while others parse other
// stretches, and taken into the whole in the table's order.
class TablePart {
public:
    // Emptied, with room for the names of `records` records: the part's names are
    // moved into the whole as they stand, so this is where their memory is first
    // touched, on the thread that parses.
    void clearFor(uint32_t records);
    void clear();

private:
    friend class TableRecords;
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
    // What an extension record says of its file: written into the file's own place
    // only once every stretch is parsed, since that place may lie in a stretch
    // another thread is parsing.
    struct OwnerWrite {
        enum Kind : uint8_t { name, standardInformation, size, heldLess, reparsePoint };
        uint32_t owner;
        Kind kind;
        uint32_t attributes;
        long long value;
    };

    KeptVector<TableName> names_;  // their text: into this part's own
    KeptVector<wchar_t> text_;
    std::vector<Extension> extensions_;
    std::vector<std::pair<uint32_t, long long>> heldLess_;
    std::vector<DataReach> sizesNeeded_, piecesReach_;
    std::vector<OwnerWrite> ownerWrites_;
};

// The names of the table, in its order, as the stretches that held them were
// taken: kept in those stretches' own arrays rather than copied into one.
class TableNames {
public:
    struct Stretch {
        KeptVector<TableName> names;  // their text: where in the whole of the text
        KeptVector<wchar_t> text;
    };
    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = TableName;
        using difference_type = std::ptrdiff_t;
        using pointer = const TableName*;
        using reference = const TableName&;
        iterator() = default;
        iterator(const TableNames* names, size_t stretch) : names_(names), stretch_(stretch) {}
        reference operator*() const { return names_->stretches_[stretch_].names[at_]; }
        pointer operator->() const { return &**this; }
        // The name's text, from the stretch it is in: no search for it.
        std::wstring_view text() const {
            const Stretch& stretch = names_->stretches_[stretch_];
            const TableName& name = stretch.names[at_];
            return std::wstring_view(stretch.text.data() + (name.text - names_->textStarts_[stretch_]), name.length);
        }
        iterator& operator++() {
            // No stretch kept is empty.
            if (++at_ == names_->stretches_[stretch_].names.size()) {
                ++stretch_;
                at_ = 0;
            }
            return *this;
        }
        iterator operator++(int) {
            iterator was = *this;
            ++*this;
            return was;
        }
        bool operator==(const iterator& other) const { return stretch_ == other.stretch_ && at_ == other.at_; }

    private:
        const TableNames* names_ = nullptr;
        size_t stretch_ = 0, at_ = 0;
    };

    iterator begin() const { return iterator(this, 0); }
    iterator end() const { return iterator(this, stretches_.size()); }
    size_t size() const { return nameCount_; }
    size_t textSize() const { return textCount_; }
    // Name `index` of the whole, and a name's text.
    const TableName& at(size_t index) const;
    std::wstring_view text(const TableName& name) const;

private:
    friend class TableRecords;
    void clear();
    void take(KeptVector<TableName>&& names, KeptVector<wchar_t>&& text);

    std::vector<Stretch> stretches_;
    std::vector<size_t> nameStarts_, textStarts_;  // of each stretch, in the whole
    size_t nameCount_ = 0, textCount_ = 0;
};

class TableRecords {
public:
    // Room for the table's records, numbered 0..records-1; a reference to any
    // other record is refused. A file's size is believed only within its
    // allocation, and that only as far as its pieces reach in `clusterBytes`.
    // False, with nothing taken, when the records could not fit what this
    // process can address (a 32-bit one holds about 2 GB).
    bool reserve(uint32_t records, uint32_t clusterBytes);
    // Parses record `number` (its update sequence undone here) into its own place
    // and `part`; false when a record in use is not sound. Threads may add records
    // at once, each into a part of its own, as long as no two add the same record.
    bool add(TablePart& part, uint32_t number, unsigned char* record, uint32_t size);
    // Takes what a part's records added into the whole, and empties the part:
    // parts are taken one at a time, in the table's order. False when the names'
    // text would grow past what a name's place in it can say.
    bool take(TablePart& part);
    // add and take in one, for a single record.
    bool add(uint32_t number, unsigned char* record, uint32_t size);
    // After the records up to `read` were taken: false when a record says it
    // belongs to a file that is not there, or a file's size is more than all its
    // pieces map. Then names can be looked up. Records from `read` on are forgotten,
    // as a stop may have left them parsed but not taken.
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
    long long allocation(uint32_t record) const {
        if (!(flags_[record] & heldLessFlag)) return -1;
        // Asked in the order of the records, mostly: the entry after the last one
        // asked for, when it is its record's last word, is the answer.
        if (heldStretch_ < heldLess_.size()) {
            const HeldLess& held = heldLess_[heldStretch_];
            const size_t next = heldAsked_ + 1;
            if (next + 1 < held.size() && held[next].first == record && held[next + 1].first != record) {
                heldAsked_ = next;
                return held[next].second;
            }
        }
        return lookUpAllocation(record);
    }
    // How many names the file has (besides short names), counted up to two.
    uint8_t nameCount(uint32_t record) const {
        return (flags_[record] & moreNamesFlag) ? 2 : (flags_[record] & oneNameFlag) ? 1 : 0;
    }
    long long lastWrite(uint32_t record) const { return lastWrites_[record]; }
    const TableNames& names() const { return names_; }
    // A folder's name (folders have one besides any short name); null when none.
    const TableName* firstName(uint32_t record) const;
    std::wstring_view text(const TableName& name) const { return names_.text(name); }

private:
    static constexpr uint8_t inUseFlag = 1, folderFlag = 2, oneNameFlag = 4, moreNamesFlag = 8, heldLessFlag = 16;
    // Kept apart from the record's own flags, which its base record sets.
    static constexpr uint8_t namesFlags = oneNameFlag | moreNamesFlag;
    using Extension = TablePart::Extension;
    using DataReach = TablePart::DataReach;
    using OwnerWrite = TablePart::OwnerWrite;

    bool takeData(TablePart& part, uint32_t owner, bool direct, const ntfs::Attribute& attribute);
    // Into the file's own place now (its base record) or once all are parsed.
    void write(TablePart& part, bool direct, const OwnerWrite& what);
    void apply(const OwnerWrite& what);
    void sortHeldLess();
    long long lookUpAllocation(uint32_t record) const;
    // Whether entry `at` of stretch `stretch` is the last word on its record.
    bool lastHeldWord(size_t stretch, size_t at) const;

    // Sized for every record, again each search: their memory is kept between searches.
    KeptVector<uint8_t> flags_;
    KeptVector<uint16_t> sequences_;
    KeptVector<uint32_t> attributes_;
    KeptVector<long long> sizes_, lastWrites_;
    // The few files (sparse, compressed) whose data takes less than their size, by
    // record: most files take their size, and cost no room for it here.
    // Kept as the stretches gave them, in the table's order, which is the records'
    // order unless extension records said otherwise; then they are one, sorted.
    using HeldLess = std::vector<std::pair<uint32_t, long long>>;
    std::vector<HeldLess> heldLess_;
    mutable size_t heldStretch_ = 0, heldAsked_ = 0;  // where the last answer stood
    TableNames names_;
    std::vector<Extension> extensions_;  // records that hold more of another file's attributes
    KeptVector<uint32_t> firstNames_;    // index into names_ + 1, by record
    std::vector<DataReach> sizesNeeded_, piecesReach_;
    std::vector<OwnerWrite> ownerWrites_;
    unsigned clusterShift_ = 0;  // a cluster's bytes are a power of two
};
