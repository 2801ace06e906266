#include "search/table_records.h"

#include "toolkit/raw_volume.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t standardInformation = 0x10, attributeList = 0x20, fileName = 0x30, data = 0x80, endMarker = 0xFFFFFFFF;
constexpr uint32_t strideBytes = 512;  // the update sequence's stride, whatever the sector size
constexpr uint8_t dosOnlyName = 2;

uint16_t u16(const unsigned char* at) {
    uint16_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}
uint32_t u32(const unsigned char* at) {
    uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}
uint64_t u64(const unsigned char* at) {
    uint64_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

struct Attribute {
    uint32_t type;
    const unsigned char* at;
    uint32_t length;
    bool resident;
    uint8_t nameLength;
};

// Calls `each` for every attribute of a fixed-up record; false when the layout
// is not sound or `each` says so.
template <typename Each>
bool forEachAttribute(const unsigned char* record, uint32_t size, Each each) {
    const uint32_t used = std::min(u32(record + 0x18), size);
    uint32_t at = u16(record + 0x14);
    while (at + 4 <= used) {
        const uint32_t type = u32(record + at);
        if (type == endMarker) return true;
        if (at + 16 > used) return false;
        const uint32_t length = u32(record + at + 4);
        if (length < 16 || length > used - at) return false;
        if (!each(Attribute{type, record + at, length, record[at + 8] == 0, record[at + 9]})) return false;
        at += length;
    }
    return false;
}

bool residentValue(const Attribute& attribute, const unsigned char*& value, uint32_t& length) {
    if (!attribute.resident || attribute.length < 0x18) return false;
    length = u32(attribute.at + 0x10);
    const uint32_t offset = u16(attribute.at + 0x14);
    if (offset > attribute.length || length > attribute.length - offset) return false;
    value = attribute.at + offset;
    return true;
}

bool decodeRuns(const Attribute& attribute, std::vector<Extent>& extents) {
    if (attribute.resident || attribute.length < 0x40) return false;
    uint32_t at = u16(attribute.at + 0x20);
    long long lcn = 0;
    while (at < attribute.length) {
        const uint8_t header = attribute.at[at++];
        if (header == 0) return true;
        const unsigned lengthBytes = header & 0x0F, offsetBytes = header >> 4;
        if (lengthBytes == 0 || lengthBytes > 8 || offsetBytes > 8 || at + lengthBytes + offsetBytes > attribute.length)
            return false;
        unsigned long long clusters = 0;
        for (unsigned i = 0; i < lengthBytes; ++i) clusters |= static_cast<unsigned long long>(attribute.at[at + i]) << (8 * i);
        at += lengthBytes;
        if (offsetBytes == 0) {
            extents.push_back(Extent{-1, clusters});
            continue;
        }
        unsigned long long delta = 0;
        for (unsigned i = 0; i < offsetBytes; ++i) delta |= static_cast<unsigned long long>(attribute.at[at + i]) << (8 * i);
        if (offsetBytes < 8 && (attribute.at[at + offsetBytes - 1] & 0x80)) delta |= ~0ULL << (8 * offsetBytes);
        at += offsetBytes;
        lcn += static_cast<long long>(delta);
        if (lcn < 0) return false;
        extents.push_back(Extent{lcn, clusters});
    }
    return false;
}

}  // namespace

bool applyFixups(unsigned char* record, uint32_t size) {
    if (std::memcmp(record, "FILE", 4) != 0) return false;
    const uint32_t offset = u16(record + 4), count = u16(record + 6);
    if (count == 0 || count - 1 != size / strideBytes || offset + 2 * count > size) return false;
    const uint16_t check = u16(record + offset);
    for (uint32_t i = 1; i < count; ++i) {
        unsigned char* tail = record + i * strideBytes - 2;
        if (u16(tail) != check) return false;
        std::memcpy(tail, record + offset + 2 * i, 2);
    }
    return true;
}

bool readGeometry(RawVolume& volume, Geometry& geometry) {
    SectorBuffer boot(4096);
    if (!boot.data() || !volume.read(0, boot.data(), 4096)) return false;
    const unsigned char* b = boot.data();
    if (std::memcmp(b + 3, "NTFS    ", 8) != 0) return false;
    const uint32_t sector = u16(b + 0x0B);
    uint32_t perCluster = b[0x0D];
    if (perCluster > 0x80) perCluster = 1u << (256 - perCluster);
    if (sector < 512 || sector > 4096 || (sector & (sector - 1)) || perCluster == 0 || perCluster > 4096 ||
        (perCluster & (perCluster - 1)))
        return false;
    geometry.clusterBytes = sector * perCluster;
    const int perRecord = static_cast<signed char>(b[0x40]);
    const unsigned long long recordBytes =
        perRecord > 0 ? static_cast<unsigned long long>(perRecord) * geometry.clusterBytes : 1ULL << std::min(-perRecord, 31);
    if (recordBytes < 1024 || recordBytes > 65536 || (recordBytes & (recordBytes - 1))) return false;
    geometry.recordBytes = static_cast<uint32_t>(recordBytes);
    geometry.tableOffset = u64(b + 0x30) * geometry.clusterBytes;
    return true;
}

bool readTableExtents(RawVolume& volume, const Geometry& geometry, std::vector<Extent>& extents,
                      unsigned long long& tableBytes) {
    SectorBuffer first(std::max<size_t>(geometry.recordBytes, 4096));
    if (!first.data() || !volume.read(geometry.tableOffset, first.data(), geometry.recordBytes)) return false;
    unsigned char* record = first.data();
    if (!applyFixups(record, geometry.recordBytes)) return false;
    bool spills = false;
    const bool sound = forEachAttribute(record, geometry.recordBytes, [&](const Attribute& attribute) {
        if (attribute.type == attributeList) spills = true;
        if (attribute.type != data || attribute.nameLength != 0) return true;
        if (attribute.resident) return false;
        if (u64(attribute.at + 0x10) == 0) tableBytes = u64(attribute.at + 0x30);
        return decodeRuns(attribute, extents);
    });
    return sound && !spills && tableBytes >= geometry.recordBytes * 16ULL && !extents.empty();
}

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

void TableRecords::grow(uint32_t record) {
    if (record < flags_.size()) return;
    const size_t size = static_cast<size_t>(record) + 1;
    flags_.resize(size, 0);
    sequences_.resize(size, 0);
    attributes_.resize(size, 0);
    sizes_.resize(size, 0);
    lastWrites_.resize(size, 0);
}

bool TableRecords::add(uint32_t number, unsigned char* record, uint32_t size) {
    grow(number);
    // A record never written is all zeros; one not in use tells nothing.
    if (std::memcmp(record, "FILE", 4) != 0) return u32(record) == 0 || !(u16(record + 0x16) & 1);
    if (!(u16(record + 0x16) & 1)) return true;
    if (!applyFixups(record, size)) return false;
    const uint64_t base = u64(record + 0x20) & 0x0000FFFFFFFFFFFFULL;
    if (base > 0xFFFFFFFFULL) return false;
    const uint32_t owner = base ? static_cast<uint32_t>(base) : number;
    grow(owner);
    if (!base) {
        flags_[number] = static_cast<uint8_t>(inUseFlag | ((u16(record + 0x16) & 2) ? folderFlag : 0));
        sequences_[number] = u16(record + 0x10);
    }
    return forEachAttribute(record, size, [&](const Attribute& attribute) {
        const unsigned char* value = nullptr;
        uint32_t length = 0;
        switch (attribute.type) {
            case standardInformation:
                if (!residentValue(attribute, value, length) || length < 0x24) return false;
                lastWrites_[owner] = static_cast<long long>(u64(value + 0x08));
                attributes_[owner] = u32(value + 0x20);
                return true;
            case fileName: {
                if (!residentValue(attribute, value, length) || length < 0x42) return false;
                const uint8_t characters = value[0x40];
                if (length < 0x42u + 2u * characters) return false;
                if (value[0x41] == dosOnlyName) return true;
                const uint64_t parent = u64(value);
                const uint64_t parentRecord = parent & 0x0000FFFFFFFFFFFFULL;
                if (parentRecord > 0xFFFFFFFFULL) return false;
                names_.push_back(TableName{owner, static_cast<uint32_t>(parentRecord), static_cast<uint16_t>(parent >> 48),
                                           characters, static_cast<uint32_t>(text_.size())});
                for (uint8_t i = 0; i < characters; ++i) text_.push_back(static_cast<wchar_t>(u16(value + 0x42 + 2 * i)));
                return true;
            }
            case data:
                if (attribute.nameLength != 0) return true;  // a named stream: not the file's size
                if (attribute.resident) {
                    if (!residentValue(attribute, value, length)) return false;
                    sizes_[owner] = length;
                } else if (attribute.length >= 0x40 && u64(attribute.at + 0x10) == 0) {
                    sizes_[owner] = static_cast<long long>(u64(attribute.at + 0x30));
                }
                return true;
            default:
                return true;
        }
    });
}

const TableName* TableRecords::firstName(uint32_t record) {
    if (firstNames_.empty()) {
        firstNames_.assign(flags_.size(), 0);
        for (size_t i = names_.size(); i-- > 0;) firstNames_[names_[i].record] = static_cast<uint32_t>(i + 1);
    }
    if (record >= firstNames_.size() || firstNames_[record] == 0) return nullptr;
    return &names_[firstNames_[record] - 1];
}
