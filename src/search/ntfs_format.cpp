#include "search/ntfs_format.h"

namespace ntfs {

bool applyFixups(unsigned char* record, uint32_t size) {
    if (size < strideBytes || std::memcmp(record, "FILE", 4) != 0) return false;
    const uint32_t offset = u16(record + recordFixupOffset), count = u16(record + recordFixupCount);
    if (count == 0 || count - 1 != size / strideBytes || offset + 2 * count > size) return false;
    const uint16_t check = u16(record + offset);
    for (uint32_t i = 1; i < count; ++i) {
        unsigned char* tail = record + i * strideBytes - 2;
        if (u16(tail) != check) return false;
        std::memcpy(tail, record + offset + 2 * i, 2);
    }
    return true;
}

bool residentValue(const Attribute& attribute, const unsigned char*& value, uint32_t& length) {
    if (!attribute.resident || attribute.length < 0x18) return false;
    length = u32(attribute.at + residentValueLength);
    const uint32_t offset = u16(attribute.at + residentValueOffset);
    if (offset > attribute.length || length > attribute.length - offset) return false;
    value = attribute.at + offset;
    return true;
}

bool decodeRuns(const Attribute& attribute, unsigned long long volumeClusters, std::vector<Extent>& extents) {
    if (attribute.resident || attribute.length < nonResidentHeaderBytes) return false;
    uint32_t at = u16(attribute.at + nonResidentRunsOffset);
    long long lcn = 0;
    while (at < attribute.length) {
        const uint8_t header = attribute.at[at++];
        if (header == 0) return true;
        const unsigned lengthBytes = header & 0x0F, offsetBytes = header >> 4;
        if (lengthBytes == 0 || lengthBytes > 8 || offsetBytes > 8 || lengthBytes + offsetBytes > attribute.length - at)
            return false;
        unsigned long long clusters = 0;
        for (unsigned i = 0; i < lengthBytes; ++i) clusters |= static_cast<unsigned long long>(attribute.at[at + i]) << (8 * i);
        at += lengthBytes;
        if (clusters == 0 || clusters > volumeClusters) return false;
        if (offsetBytes == 0) {
            extents.push_back(Extent{-1, clusters});
            continue;
        }
        unsigned long long delta = 0;
        for (unsigned i = 0; i < offsetBytes; ++i) delta |= static_cast<unsigned long long>(attribute.at[at + i]) << (8 * i);
        if (offsetBytes < 8 && (attribute.at[at + offsetBytes - 1] & 0x80)) delta |= ~0ULL << (8 * offsetBytes);
        at += offsetBytes;
        // Unsigned arithmetic: a crafted delta may not overflow a signed value.
        const unsigned long long next = static_cast<unsigned long long>(lcn) + delta;
        if (next >= volumeClusters || clusters > volumeClusters - next) return false;
        lcn = static_cast<long long>(next);
        extents.push_back(Extent{lcn, clusters});
    }
    return false;
}

}  // namespace ntfs
