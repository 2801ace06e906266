#include "search/table_reader.h"

#include "toolkit/raw_volume.h"

#include <algorithm>

namespace {

constexpr size_t chunkBytes = 4 * 1024 * 1024;

// Hands out the table's records in order, reading its extents in large chunks;
// a record that straddles two extents is put together.
class ChunkedRecords {
public:
    ChunkedRecords(RawVolume& volume, const Geometry& geometry, const std::vector<ntfs::Extent>& extents)
        : volume_(volume), geometry_(geometry), extents_(extents), chunk_(chunkFor(geometry, extents)),
          record_(geometry.recordBytes) {}

    // The next record, in a buffer of the caller's to change until the next call;
    // null at the end or when the volume cannot be read.
    unsigned char* next() {
        if (position_ == available_ && !refill()) return nullptr;
        if (available_ - position_ >= geometry_.recordBytes) {
            // Most records lie whole in the chunk: changed where they were read.
            unsigned char* record = chunk_.data() + position_;
            position_ += geometry_.recordBytes;
            return record;
        }
        size_t filled = 0;
        while (filled < geometry_.recordBytes) {
            if (position_ == available_ && !refill()) return nullptr;
            const size_t take = std::min(geometry_.recordBytes - filled, available_ - position_);
            std::memcpy(record_.data() + filled, chunk_.data() + position_, take);
            position_ += take;
            filled += take;
        }
        return record_.data();
    }

private:
    // Large chunks, but no larger than the table.
    static size_t chunkFor(const Geometry& geometry, const std::vector<ntfs::Extent>& extents) {
        unsigned long long bytes = 0;
        for (const ntfs::Extent& extent : extents) bytes += extent.clusters * geometry.clusterBytes;
        return static_cast<size_t>(std::min<unsigned long long>(chunkBytes, bytes));
    }

    bool refill() {
        while (extent_ < extents_.size() && done_ == extents_[extent_].clusters * geometry_.clusterBytes) {
            ++extent_;
            done_ = 0;
        }
        if (extent_ == extents_.size() || !chunk_.data() || chunk_.size() == 0) return false;
        const ntfs::Extent& extent = extents_[extent_];
        const unsigned long long length = extent.clusters * geometry_.clusterBytes;
        const size_t take = static_cast<size_t>(std::min<unsigned long long>(chunk_.size(), length - done_));
        // Each extent lies on the volume, whose bytes the device holds: the sum cannot overflow.
        const std::optional<uint64_t> at = ntfs::checkedProduct(static_cast<uint64_t>(extent.lcn), geometry_.clusterBytes);
        if (!at || !volume_.read(*at + done_, chunk_.data(), take)) return false;
        done_ += take;
        position_ = 0;
        available_ = take;
        return true;
    }

    RawVolume& volume_;
    const Geometry& geometry_;
    const std::vector<ntfs::Extent>& extents_;
    SectorBuffer chunk_;
    std::vector<unsigned char> record_;
    size_t extent_ = 0;
    unsigned long long done_ = 0;
    size_t position_ = 0, available_ = 0;
};

}  // namespace

TableRead readTable(RawVolume& volume, const Geometry& geometry, const TableLayout& layout, TableRecords& records,
                    const std::function<bool()>& stop, const std::function<void(uint32_t)>& progress) {
    if (!records.reserve(layout.records, geometry.clusterBytes)) return TableRead::refused;
    ChunkedRecords reader(volume, geometry, layout.extents);
    uint32_t number = 0;
    for (; number < layout.records; ++number) {
        if ((number & 63) == 0 && stop()) break;
        unsigned char* record = reader.next();
        if (!record || !records.add(number, record, geometry.recordBytes)) return TableRead::refused;
        progress(number + 1);
    }
    if (!records.finish(number)) return TableRead::refused;
    return number == layout.records ? TableRead::whole : TableRead::stopped;
}
