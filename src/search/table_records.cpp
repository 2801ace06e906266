#include "search/table_records.h"

#include <algorithm>
#include <cstdint>

using namespace ntfs;

namespace {

// What the scan keeps of one record: its flags, sequence, attributes, size, last
// write, first name and found folder, and the room kept for names.
constexpr uint64_t bytesPerRecord = 1 + 2 + 4 + 8 + 8 + 4 + 4 + sizeof(TableName) * 17 / 16 + 20 * sizeof(wchar_t);

}  // namespace

bool tableFitsIn(uint64_t records, uint64_t addressBytes) {
    // Half the address space at most: the program, the walk's own records and the
    // window need the rest.
    return records <= addressBytes / 2 / bytesPerRecord;
}

bool TableRecords::reserve(uint32_t records, uint32_t clusterBytes) {
    // Counted before anything is sized: past what a 32-bit vector or address space
    // can take, a reserve would throw or wrap around.
    if (!tableFitsIn(records, static_cast<uint64_t>(SIZE_MAX)) || records + uint64_t{records} / 16 > names_.max_size())
        return false;
    clusterShift_ = 0;
    while ((2ULL << clusterShift_) <= clusterBytes) ++clusterShift_;
    // Room for about one name of twenty characters a record, taken at once: grown
    // by doubling, the arrays would for a moment take three times their size.
    names_.reserve(records + records / 16);
    text_.reserve(static_cast<size_t>(records) * 20);
    flags_.assign(records, 0);
    sequences_.assign(records, 0);
    attributes_.assign(records, 0);
    sizes_.assign(records, 0);
    heldLess_.clear();
    lastWrites_.assign(records, 0);
    return true;
}

// The unnamed stream's size, believed only where its allocation holds it and its
// pieces reach that allocation; a file in several pieces is checked when all are read.
bool TableRecords::takeData(uint32_t owner, const Attribute& attribute) {
    if (attribute.resident) {
        const std::optional<Bytes> value = residentValue(attribute);
        if (!value) return false;
        sizes_[owner] = static_cast<long long>(value->size());
        return true;
    }
    const std::optional<NonResident> piece = parseNonResident(attribute);
    if (!piece) return false;
    // The clusters the piece covers: no more than a file can have. Its runs are not
    // decoded here (a hole may cover any of them), only the bounds they must keep.
    const uint64_t end = piece->highestCluster + 1;  // 0 for an empty stream's "last cluster -1"
    if (end < piece->lowestCluster || end > mostFileClusters) return false;
    if (piece->lowestCluster != 0) {
        piecesReach_.push_back(DataReach{owner, end});
        return true;
    }
    if (piece->dataSize > piece->allocatedSize || piece->dataSize > 0x7FFFFFFFFFFFFFFFULL) return false;
    sizes_[owner] = static_cast<long long>(piece->dataSize);
    const uint64_t held = piece->heldSize ? std::min(*piece->heldSize, piece->allocatedSize) : piece->allocatedSize;
    if (held < piece->dataSize) {
        flags_[owner] |= heldLessFlag;
        heldLess_.emplace_back(owner, static_cast<long long>(held));
    }
    const uint64_t rest = piece->allocatedSize & ((1ULL << clusterShift_) - 1);
    const uint64_t needed = (piece->allocatedSize >> clusterShift_) + (rest != 0);
    if (needed > end) sizesNeeded_.push_back(DataReach{owner, needed});
    return true;
}

bool TableRecords::add(uint32_t number, unsigned char* record, uint32_t size) {
    const Bytes bytes(record, size);
    if (number >= flags_.size()) return false;
    // A record never written is all zeros; one not in use tells nothing.
    if (!hasRecordSignature(bytes)) return isBlankRecord(bytes) || !saysInUse(bytes);
    if (!saysInUse(bytes)) return true;
    if (!applyFixups(record, size)) return false;
    const std::optional<RecordHeader> header = parseRecordHeader(bytes);
    // A record in use carries its own number: one read in another's place is not one.
    if (!header || (header->number && *header->number != number)) return false;
    // A base record refers to no other; an extension record names its base,
    // which may be the table's own record 0.
    const uint64_t base = header->baseReference;
    const uint64_t baseRecord = recordOf(base);
    if (baseRecord >= flags_.size() || (base != 0 && baseRecord == number)) return false;
    const uint32_t owner = base != 0 ? static_cast<uint32_t>(baseRecord) : number;
    if (base != 0) {
        extensions_.push_back(Extension{owner, sequenceOf(base)});
    } else {
        flags_[number] = static_cast<uint8_t>((flags_[number] & (namesFlags | heldLessFlag)) | inUseFlag |
                                              (header->isFolder() ? folderFlag : 0));
        sequences_[number] = header->sequence;
    }
    return forEachAttribute(bytes, *header, [&](const Attribute& attribute) {
        switch (attribute.type) {
            case typeStandardInformation: {
                const std::optional<Bytes> value = residentValue(attribute);
                const std::optional<StandardInformation> information =
                    value ? parseStandardInformation(*value) : std::nullopt;
                if (!information) return false;
                lastWrites_[owner] = static_cast<long long>(information->lastWrite);
                attributes_[owner] = information->attributes | (attributes_[owner] & attributeReparsePoint);
                return true;
            }
            case typeFileName: {
                const std::optional<Bytes> value = residentValue(attribute);
                const std::optional<FileName> name = value ? parseFileName(*value) : std::nullopt;
                if (!name) return false;
                if (name->dosOnly()) return true;
                const uint64_t parentRecord = recordOf(name->parent);
                if (parentRecord >= flags_.size() || text_.size() > 0xFFFFFFFFu - name->length) return false;
                flags_[owner] |= (flags_[owner] & oneNameFlag) ? moreNamesFlag : oneNameFlag;
                names_.push_back(TableName{owner, static_cast<uint32_t>(parentRecord), sequenceOf(name->parent),
                                           name->length, static_cast<uint32_t>(text_.size())});
                name->text.appendUnitsTo(text_);
                return true;
            }
            case typeData:
                if (attribute.nameLength != 0) return true;  // a named stream: not the file's size
                return takeData(owner, attribute);
            case typeReparsePoint:
                // A link, whatever its standard information says (ntfs-3g leaves
                // the mark out there): a folder that is one is followed as the walk follows it.
                attributes_[owner] |= attributeReparsePoint;
                return true;
            default:
                return true;
        }
    });
}

bool TableRecords::finish(uint32_t read) {
    for (const Extension& extension : extensions_) {
        if (extension.owner >= read) continue;  // its file lies in what a stop left unread
        if (!inUse(extension.owner) || sequences_[extension.owner] != extension.sequence) return false;
    }
    // A file in pieces: its later pieces must reach as far as its first says it is allocated.
    if (!sizesNeeded_.empty()) {
        auto byOwner = [](const DataReach& a, const DataReach& b) { return a.owner < b.owner; };
        std::sort(piecesReach_.begin(), piecesReach_.end(), byOwner);
        for (const DataReach& needed : sizesNeeded_) {
            if (needed.owner >= read) continue;
            auto [first, last] = std::equal_range(piecesReach_.begin(), piecesReach_.end(), needed, byOwner);
            uint64_t reach = 0;
            for (auto piece = first; piece != last; ++piece) reach = std::max(reach, piece->clusters);
            if (reach < needed.clusters) {
                if (read < flags_.size()) {
                    sizes_[needed.owner] = 0;  // its other pieces may lie in what a stop left unread
                    continue;
                }
                return false;
            }
        }
    }
    // The last word of a record that said twice is the one kept, as for its size.
    std::stable_sort(heldLess_.begin(), heldLess_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    firstNames_.assign(flags_.size(), 0);
    for (size_t i = names_.size(); i-- > 0;) firstNames_[names_[i].record] = static_cast<uint32_t>(i + 1);
    return true;
}

long long TableRecords::allocation(uint32_t record) const {
    if (!(flags_[record] & heldLessFlag)) return -1;
    // Asked in the order of the records, mostly: the entry after the last one
    // asked for is tried before a search.
    for (size_t at : {heldAsked_, heldAsked_ + 1}) {
        if (at < heldLess_.size() && heldLess_[at].first == record &&
            (at + 1 == heldLess_.size() || heldLess_[at + 1].first != record)) {
            heldAsked_ = at;
            return heldLess_[at].second;
        }
    }
    auto after = std::upper_bound(heldLess_.begin(), heldLess_.end(), record,
                                  [](uint32_t wanted, const auto& entry) { return wanted < entry.first; });
    if (after == heldLess_.begin() || (after - 1)->first != record) return -1;
    heldAsked_ = static_cast<size_t>(after - 1 - heldLess_.begin());
    return (after - 1)->second;
}

const TableName* TableRecords::firstName(uint32_t record) const {
    if (record >= firstNames_.size() || firstNames_[record] == 0) return nullptr;
    return &names_[firstNames_[record] - 1];
}
