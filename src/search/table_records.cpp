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
    if (!tableFitsIn(records, static_cast<uint64_t>(SIZE_MAX)) ||
        records + uint64_t{records} / 16 > std::vector<TableName>().max_size())
        return false;
    clusterShift_ = 0;
    while ((2ULL << clusterShift_) <= clusterBytes) ++clusterShift_;
    names_.clear();
    flags_.assign(records, 0);
    sequences_.assign(records, 0);
    attributes_.assign(records, 0);
    sizes_.assign(records, 0);
    heldLess_.clear();
    ownerWrites_.clear();
    lastWrites_.assign(records, 0);
    return true;
}

void TablePart::clearFor(uint32_t records) {
    clear();
    // About one name of twenty characters a record: room reserved is not touched
    // until it is written.
    names_.reserve(records + records / 16);
    text_.reserve(static_cast<size_t>(records) * 20);
}

void TablePart::clear() {
    names_.clear();
    text_.clear();
    extensions_.clear();
    heldLess_.clear();
    sizesNeeded_.clear();
    piecesReach_.clear();
    ownerWrites_.clear();
}

void TableRecords::write(TablePart& part, bool direct, const OwnerWrite& what) {
    if (direct) apply(what);
    else part.ownerWrites_.push_back(what);
}

void TableRecords::apply(const OwnerWrite& what) {
    const uint32_t owner = what.owner;
    switch (what.kind) {
        case OwnerWrite::name:
            flags_[owner] |= (flags_[owner] & oneNameFlag) ? moreNamesFlag : oneNameFlag;
            break;
        case OwnerWrite::standardInformation:
            lastWrites_[owner] = what.value;
            attributes_[owner] = what.attributes | (attributes_[owner] & attributeReparsePoint);
            break;
        case OwnerWrite::size:
            sizes_[owner] = what.value;
            break;
        case OwnerWrite::heldLess:
            flags_[owner] |= heldLessFlag;
            break;
        case OwnerWrite::reparsePoint:
            attributes_[owner] |= attributeReparsePoint;
            break;
    }
}

// The unnamed stream's size, believed only where its allocation holds it and its
// pieces reach that allocation; a file in several pieces is checked when all are read.
bool TableRecords::takeData(TablePart& part, uint32_t owner, bool direct, const Attribute& attribute) {
    if (attribute.resident) {
        const std::optional<Bytes> value = residentValue(attribute);
        if (!value) return false;
        write(part, direct, OwnerWrite{owner, OwnerWrite::size, 0, static_cast<long long>(value->size())});
        return true;
    }
    const std::optional<NonResident> piece = parseNonResident(attribute);
    if (!piece) return false;
    // The clusters the piece covers: no more than a file can have. Its runs are not
    // decoded here (a hole may cover any of them), only the bounds they must keep.
    const uint64_t end = piece->highestCluster + 1;  // 0 for an empty stream's "last cluster -1"
    if (end < piece->lowestCluster || end > mostFileClusters) return false;
    if (piece->lowestCluster != 0) {
        part.piecesReach_.push_back(DataReach{owner, end});
        return true;
    }
    if (piece->dataSize > piece->allocatedSize || piece->dataSize > 0x7FFFFFFFFFFFFFFFULL) return false;
    write(part, direct, OwnerWrite{owner, OwnerWrite::size, 0, static_cast<long long>(piece->dataSize)});
    const uint64_t held = piece->heldSize ? std::min(*piece->heldSize, piece->allocatedSize) : piece->allocatedSize;
    if (held < piece->dataSize) {
        write(part, direct, OwnerWrite{owner, OwnerWrite::heldLess, 0, 0});
        part.heldLess_.emplace_back(owner, static_cast<long long>(held));
    }
    const uint64_t rest = piece->allocatedSize & ((1ULL << clusterShift_) - 1);
    const uint64_t needed = (piece->allocatedSize >> clusterShift_) + (rest != 0);
    if (needed > end) part.sizesNeeded_.push_back(DataReach{owner, needed});
    return true;
}

bool TableRecords::add(TablePart& part, uint32_t number, unsigned char* record, uint32_t size) {
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
    // Only a base record writes its own place at once: its number is this thread's.
    const bool direct = base == 0;
    if (!direct) {
        part.extensions_.push_back(Extension{owner, sequenceOf(base)});
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
                write(part, direct,
                      OwnerWrite{owner, OwnerWrite::standardInformation, information->attributes,
                                 static_cast<long long>(information->lastWrite)});
                return true;
            }
            case typeFileName: {
                const std::optional<Bytes> value = residentValue(attribute);
                const std::optional<FileName> name = value ? parseFileName(*value) : std::nullopt;
                if (!name) return false;
                if (name->dosOnly()) return true;
                const uint64_t parentRecord = recordOf(name->parent);
                if (parentRecord >= flags_.size() || part.text_.size() > 0xFFFFFFFFu - name->length) return false;
                write(part, direct, OwnerWrite{owner, OwnerWrite::name, 0, 0});
                part.names_.push_back(TableName{owner, static_cast<uint32_t>(parentRecord), sequenceOf(name->parent),
                                                name->length, static_cast<uint32_t>(part.text_.size())});
                name->text.appendUnitsTo(part.text_);
                return true;
            }
            case typeData:
                if (attribute.nameLength != 0) return true;  // a named stream: not the file's size
                return takeData(part, owner, direct, attribute);
            case typeReparsePoint:
                // A link, whatever its standard information says (ntfs-3g leaves
                // the mark out there): a folder that is one is followed as the walk follows it.
                write(part, direct, OwnerWrite{owner, OwnerWrite::reparsePoint, 0, 0});
                return true;
            default:
                return true;
        }
    });
}

bool TableRecords::take(TablePart& part) {
    if (names_.textSize() > 0xFFFFFFFFu - part.text_.size()) return false;
    const auto textBase = static_cast<uint32_t>(names_.textSize());
    for (TableName& name : part.names_) name.text += textBase;
    names_.take(std::move(part.names_), std::move(part.text_));
    extensions_.insert(extensions_.end(), part.extensions_.begin(), part.extensions_.end());
    if (!part.heldLess_.empty()) heldLess_.push_back(std::move(part.heldLess_));
    part.heldLess_ = {};
    sizesNeeded_.insert(sizesNeeded_.end(), part.sizesNeeded_.begin(), part.sizesNeeded_.end());
    piecesReach_.insert(piecesReach_.end(), part.piecesReach_.begin(), part.piecesReach_.end());
    ownerWrites_.insert(ownerWrites_.end(), part.ownerWrites_.begin(), part.ownerWrites_.end());
    part.clear();
    return true;
}

bool TableRecords::add(uint32_t number, unsigned char* record, uint32_t size) {
    TablePart part;
    return add(part, number, record, size) && take(part);
}

bool TableRecords::finish(uint32_t read) {
    for (uint32_t record = read; record < flags_.size(); ++record) flags_[record] = 0;
    // What extension records said of their files, in the table's order, after
    // every base record: as a base record's own word would be followed by theirs.
    for (const OwnerWrite& what : ownerWrites_) apply(what);
    ownerWrites_ = {};
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
    sortHeldLess();
    if (names_.size() > 0xFFFFFFFEu) return false;  // a place in firstNames_ could not say it
    firstNames_.assign(flags_.size(), 0);
    // The first of a record's names is the one kept: later ones are written first.
    for (size_t stretch = names_.stretches_.size(); stretch-- > 0;) {
        const KeptVector<TableName>& names = names_.stretches_[stretch].names;
        const size_t start = names_.nameStarts_[stretch];
        for (size_t i = names.size(); i-- > 0;) firstNames_[names[i].record] = static_cast<uint32_t>(start + i + 1);
    }
    return true;
}

// The last word of a record that said twice is the one kept, as for its size:
// sorted stably by record, unless the stretches already are.
void TableRecords::sortHeldLess() {
    heldStretch_ = heldAsked_ = 0;
    uint32_t last = 0;
    bool ordered = true;
    for (const HeldLess& stretch : heldLess_) {
        for (const auto& entry : stretch) {
            if (entry.first < last) ordered = false;
            last = entry.first;
        }
    }
    if (ordered) return;
    HeldLess all;
    for (const HeldLess& stretch : heldLess_) all.insert(all.end(), stretch.begin(), stretch.end());
    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    heldLess_.clear();
    heldLess_.push_back(std::move(all));
}

bool TableRecords::lastHeldWord(size_t stretch, size_t at) const {
    const uint32_t record = heldLess_[stretch][at].first;
    if (at + 1 < heldLess_[stretch].size()) return heldLess_[stretch][at + 1].first != record;
    return stretch + 1 == heldLess_.size() || heldLess_[stretch + 1].front().first != record;
}

long long TableRecords::lookUpAllocation(uint32_t record) const {
    // The last one asked for again, or the next across the end of a stretch, is
    // tried before a search.
    if (heldStretch_ < heldLess_.size()) {
        for (size_t at : {heldAsked_, heldAsked_ + 1}) {
            size_t stretch = heldStretch_;
            if (at == heldLess_[stretch].size() && stretch + 1 < heldLess_.size()) {
                ++stretch;
                at = 0;
            }
            if (at < heldLess_[stretch].size() && heldLess_[stretch][at].first == record && lastHeldWord(stretch, at)) {
                heldStretch_ = stretch;
                heldAsked_ = at;
                return heldLess_[stretch][at].second;
            }
        }
    }
    // The last stretch that starts at or before the record holds its last word.
    auto stretchAfter = std::upper_bound(heldLess_.begin(), heldLess_.end(), record,
                                         [](uint32_t wanted, const HeldLess& held) { return wanted < held.front().first; });
    if (stretchAfter == heldLess_.begin()) return -1;
    const HeldLess& held = *(stretchAfter - 1);
    auto after = std::upper_bound(held.begin(), held.end(), record,
                                  [](uint32_t wanted, const auto& entry) { return wanted < entry.first; });
    if ((after - 1)->first != record) return -1;  // the stretch's first entry is at or before it
    heldStretch_ = static_cast<size_t>(stretchAfter - 1 - heldLess_.begin());
    heldAsked_ = static_cast<size_t>(after - 1 - held.begin());
    return (after - 1)->second;
}

const TableName* TableRecords::firstName(uint32_t record) const {
    if (record >= firstNames_.size() || firstNames_[record] == 0) return nullptr;
    return &names_.at(firstNames_[record] - 1);
}

void TableNames::clear() {
    stretches_.clear();
    nameStarts_.clear();
    textStarts_.clear();
    nameCount_ = textCount_ = 0;
}

void TableNames::take(KeptVector<TableName>&& names, KeptVector<wchar_t>&& text) {
    if (names.empty()) return;  // a name holds at least its place: no text without one
    nameStarts_.push_back(nameCount_);
    textStarts_.push_back(textCount_);
    nameCount_ += names.size();
    textCount_ += text.size();
    stretches_.push_back(Stretch{std::move(names), std::move(text)});
    names = {};
    text = {};
}

namespace {

// The stretch whose part of the whole starts at or before `place`, of stretches that
// start at `starts` in order; the first starts at 0.
size_t stretchHolding(const std::vector<size_t>& starts, size_t place) {
    return static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), place) - starts.begin()) - 1;
}

}  // namespace

const TableName& TableNames::at(size_t index) const {
    const size_t stretch = stretchHolding(nameStarts_, index);
    return stretches_[stretch].names[index - nameStarts_[stretch]];
}

std::wstring_view TableNames::text(const TableName& name) const {
    if (name.length == 0) return {};
    // A name's text lies whole in its own stretch's text, and is not empty.
    const size_t stretch = stretchHolding(textStarts_, name.text);
    return std::wstring_view(stretches_[stretch].text.data() + (name.text - textStarts_[stretch]), name.length);
}
