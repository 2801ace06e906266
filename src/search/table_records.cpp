#include "search/table_records.h"

#include "search/ntfs_format.h"

using namespace ntfs;

void TableRecords::reserve(uint32_t records) {
    // Room for about one name of twenty characters a record, taken at once: grown
    // by doubling, the arrays would for a moment take three times their size.
    names_.reserve(records + records / 16);
    text_.reserve(static_cast<size_t>(records) * 20);
    flags_.assign(records, 0);
    sequences_.assign(records, 0);
    attributes_.assign(records, 0);
    sizes_.assign(records, 0);
    lastWrites_.assign(records, 0);
}

bool TableRecords::add(uint32_t number, unsigned char* record, uint32_t size) {
    if (number >= flags_.size() || size < recordBaseReference + 8) return false;
    const uint16_t flags = u16(record + recordFlags);
    // A record never written is all zeros; one not in use tells nothing.
    if (std::memcmp(record, "FILE", 4) != 0) return u32(record) == 0 || !(flags & recordInUse);
    if (!(flags & recordInUse)) return true;
    if (!applyFixups(record, size)) return false;
    // A base record refers to no other; an extension record names its base,
    // which may be the table's own record 0.
    const uint64_t base = u64(record + recordBaseReference);
    const uint64_t baseRecord = base & referenceRecordMask;
    if (baseRecord >= flags_.size() || (base != 0 && baseRecord == number)) return false;
    const uint32_t owner = base != 0 ? static_cast<uint32_t>(baseRecord) : number;
    if (base != 0) {
        extensions_.push_back(Extension{owner, static_cast<uint16_t>(base >> 48)});
    } else {
        flags_[number] = static_cast<uint8_t>(inUseFlag | ((flags & recordIsFolder) ? folderFlag : 0));
        sequences_[number] = u16(record + recordSequence);
    }
    return forEachAttribute(record, size, [&](const Attribute& attribute) {
        const unsigned char* value = nullptr;
        uint32_t length = 0;
        switch (attribute.type) {
            case typeStandardInformation:
                if (!residentValue(attribute, value, length) || length < standardMinimumBytes) return false;
                lastWrites_[owner] = static_cast<long long>(u64(value + standardLastWrite));
                attributes_[owner] = u32(value + standardAttributes);
                return true;
            case typeFileName: {
                if (!residentValue(attribute, value, length) || length < fileNameText) return false;
                const uint8_t characters = value[fileNameLength];
                // A name holds at least one character, and all it claims.
                if (characters == 0 || length < fileNameText + 2u * characters) return false;
                if (value[fileNameSpace] == dosOnlyName) return true;
                const uint64_t parent = u64(value + fileNameParent);
                const uint64_t parentRecord = parent & referenceRecordMask;
                if (parentRecord >= flags_.size() || text_.size() > 0xFFFFFFFFu - characters) return false;
                names_.push_back(TableName{owner, static_cast<uint32_t>(parentRecord), static_cast<uint16_t>(parent >> 48),
                                           characters, static_cast<uint32_t>(text_.size())});
                for (uint8_t i = 0; i < characters; ++i)
                    text_.push_back(static_cast<wchar_t>(u16(value + fileNameText + 2 * i)));
                return true;
            }
            case typeData:
                if (attribute.nameLength != 0) return true;  // a named stream: not the file's size
                if (attribute.resident) {
                    if (!residentValue(attribute, value, length)) return false;
                    sizes_[owner] = length;
                } else if (attribute.length >= nonResidentHeaderBytes &&
                           u64(attribute.at + nonResidentLowestCluster) == 0) {
                    const uint64_t dataSize = u64(attribute.at + nonResidentDataSize);
                    if (dataSize > 0x7FFFFFFFFFFFFFFFULL) return false;
                    sizes_[owner] = static_cast<long long>(dataSize);
                }
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
    firstNames_.assign(flags_.size(), 0);
    for (size_t i = names_.size(); i-- > 0;) firstNames_[names_[i].record] = static_cast<uint32_t>(i + 1);
    return true;
}

const TableName* TableRecords::firstName(uint32_t record) const {
    if (record >= firstNames_.size() || firstNames_[record] == 0) return nullptr;
    return &names_[firstNames_[record] - 1];
}
