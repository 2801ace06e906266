#include "search/volume_table.h"

#include "search/match_rules.h"
#include "search/table_records.h"
#include "toolkit/paths.h"
#include "toolkit/raw_volume.h"

#include <cstring>

namespace {

constexpr size_t chunkBytes = 4 * 1024 * 1024;

// Reads the table record by record in large sequential chunks, following the
// table's own extents; a record that straddles two extents is put together.
class TableReader {
public:
    TableReader(RawVolume& volume, const Geometry& geometry, const std::vector<Extent>& extents)
        : volume_(volume), geometry_(geometry), extents_(extents), chunk_(chunkBytes), record_(geometry.recordBytes) {}

    // The next record, fixed up; false at the end or when the volume cannot be read.
    bool next(const unsigned char*& record) {
        size_t filled = 0;
        while (filled < geometry_.recordBytes) {
            if (position_ == available_ && !refill()) return false;
            const size_t take = std::min(geometry_.recordBytes - filled, available_ - position_);
            std::memcpy(record_.data() + filled, chunk_.data() + position_, take);
            position_ += take;
            filled += take;
        }
        record = record_.data();
        return true;
    }
    bool failed() const { return failed_; }

private:
    bool refill() {
        while (extent_ < extents_.size() && done_ == extents_[extent_].clusters * geometry_.clusterBytes) {
            ++extent_;
            done_ = 0;
        }
        if (extent_ == extents_.size() || !chunk_.data() || !record_.data()) return false;
        const Extent& extent = extents_[extent_];
        // A hole in the table itself is not a table this reader understands.
        if (extent.lcn < 0) return fail();
        const unsigned long long length = extent.clusters * geometry_.clusterBytes;
        const size_t take = static_cast<size_t>(std::min<unsigned long long>(chunkBytes, length - done_));
        if (!volume_.read(static_cast<unsigned long long>(extent.lcn) * geometry_.clusterBytes + done_, chunk_.data(),
                          take))
            return fail();
        done_ += take;
        position_ = 0;
        available_ = take;
        return true;
    }
    bool fail() {
        failed_ = true;
        return false;
    }

    RawVolume& volume_;
    const Geometry& geometry_;
    const std::vector<Extent>& extents_;
    SectorBuffer chunk_;
    std::vector<unsigned char> record_;
    size_t extent_ = 0;
    unsigned long long done_ = 0;
    size_t position_ = 0, available_ = 0;
    bool failed_ = false;
};

class TableScanner {
public:
    TableScanner(const WalkRequest& request, WalkObserver& observer, std::vector<CollectedEntry>& collection,
                 int& count, std::vector<FoundOrigin>& origins)
        : request_(request), observer_(observer), collection_(collection), count_(count), origins_(origins) {}

    TableScan run() {
        const std::wstring& root = request_.rootPath;
        if (root.size() != 3 || root[1] != L':' || root[2] != L'\\') return TableScan::unavailable;
        RawVolume volume(root[0]);
        Geometry geometry;
        std::vector<Extent> extents;
        unsigned long long tableBytes = 0;
        if (!volume.isOpen() || !readGeometry(volume, geometry) ||
            !readTableExtents(volume, geometry, extents, tableBytes))
            return TableScan::unavailable;
        if (!readTable(volume, geometry, extents, tableBytes)) return TableScan::unavailable;
        count_ = 0;
        origins_.clear();
        origins_.push_back(originAt(root, PathFinal(root)));
        if (!collect()) return TableScan::unavailable;
        followLinksOffTheVolume();
        sortCollected(collection_, count_);
        return stopped_ ? TableScan::stopped : TableScan::done;
    }

private:
    bool readTable(RawVolume& volume, const Geometry& geometry, const std::vector<Extent>& extents,
                   unsigned long long tableBytes) {
        const unsigned long long records = tableBytes / geometry.recordBytes;
        if (records > 0xFFFFFFFFULL) return false;
        table_.reserve(static_cast<uint32_t>(records));
        TableReader reader(volume, geometry, extents);
        const unsigned char* raw = nullptr;
        std::vector<unsigned char> record(geometry.recordBytes);
        for (uint32_t number = 0; number < records; ++number) {
            if ((number & 63) == 0 && observer_.stopRequested()) {
                stopped_ = true;
                break;
            }
            if (!reader.next(raw)) return false;
            std::memcpy(record.data(), raw, geometry.recordBytes);
            if (!table_.add(number, record.data(), geometry.recordBytes)) return false;
            if (request_.counts) request_.counts->lookedAt.store(number + 1, std::memory_order_relaxed);
        }
        return true;
    }

    // Every in-use file's names, with paths joined from their parents; false when a
    // name points to a parent the table does not hold (the table is not trusted).
    bool collect() {
        for (const TableName& name : table_.names()) {
            const uint32_t record = name.record;
            if (record < firstUserRecord || !table_.inUse(record) || table_.isFolder(record)) continue;
            const FolderState state = folderState(name.parent, name.parentSequence);
            if (state == FolderState::broken) {
                if (stopped_) continue;  // its parent lies in what was not read
                return false;
            }
            if (state == FolderState::system) continue;
            const long long size = table_.size(record);
            if (size <= request_.sizeThreshold) continue;
            const std::wstring_view text = table_.text(name);
            if (request_.nameTest && !nameMatches(text, request_.nameText)) continue;
            const std::wstring& folder = folderPath(name.parent);
            if (isInFolder(folder, request_.windowsFolderPrefix)) continue;
            collectFile(collection_, count_, folder, text,
                        FileIdentity{table_.reference(record), size, table_.lastWrite(record)}, 0);
            if (request_.counts) request_.counts->found.store(count_, std::memory_order_relaxed);
        }
        return true;
    }

    enum class FolderState : uint8_t { unknown, user, system, broken, visiting };

    // Whether a folder reaches the root, lies under the system's own folder
    // ($Extend), or is not a folder the table holds.
    FolderState folderState(uint32_t folder, uint16_t sequence) {
        if (folder >= states_.size()) states_.resize(table_.recordCount(), FolderState::unknown);
        if (folder >= table_.recordCount() || !table_.inUse(folder) || !table_.isFolder(folder) ||
            (sequence && sequence != table_.sequence(folder)))
            return FolderState::broken;
        FolderState& state = states_[folder];
        if (state == FolderState::visiting) return FolderState::broken;  // a loop
        if (state != FolderState::unknown) return state;
        if (folder == rootRecord) return state = FolderState::user;
        if (folder == extendRecord) return state = FolderState::system;
        const TableName* name = table_.firstName(folder);
        if (!name) return state = FolderState::broken;
        state = FolderState::visiting;
        const FolderState above = folderState(name->parent, name->parentSequence);
        // A folder below the root that is a link is followed by the walk, if at all.
        if (above == FolderState::user && table_.isLink(folder)) links_.push_back(folder);
        return states_[folder] = above;
    }

    const std::wstring& folderPath(uint32_t folder) {
        auto known = paths_.find(folder);
        if (known != paths_.end()) return known->second;
        std::wstring path = request_.rootPath;
        if (folder != rootRecord) {
            const TableName* name = table_.firstName(folder);
            path = folderPath(name->parent) + std::wstring(table_.text(*name)) + L"\\";
        }
        return paths_.emplace(folder, std::move(path)).first->second;
    }

    // A folder link that leads off the volume is walked as the walk would; one
    // that leads onto it adds nothing the table does not hold once.
    void followLinksOffTheVolume() {
        const unsigned long volume = origins_[0].volume;
        for (uint32_t link : links_) {
            if (stopped_) return;
            const std::wstring path = folderPath(link);
            const std::wstring target = PathFinal(path);
            if (!target.empty() && isInFolder(target + L"\\", request_.windowsFolderPrefix)) continue;
            if (PathVolumeSerial(path) == volume) continue;
            WalkRequest linked = request_;
            linked.rootPath = path;
            linked.counts = nullptr;
            std::vector<CollectedEntry> found;
            std::vector<FoundOrigin> linkedOrigins;
            int foundCount = 0;
            if (!walkDrive(linked, observer_, found, foundCount, linkedOrigins)) stopped_ = true;
            const unsigned shift = static_cast<unsigned>(origins_.size());
            origins_.insert(origins_.end(), linkedOrigins.begin(), linkedOrigins.end());
            for (int i = 1; i <= foundCount; ++i) {
                const size_t slot = static_cast<size_t>(++count_);
                if (collection_.size() <= slot) collection_.resize(slot + 1);
                collection_[slot] = std::move(found[static_cast<size_t>(i)]);
                collection_[slot].origin += shift;
            }
        }
    }

    const WalkRequest& request_;
    WalkObserver& observer_;
    std::vector<CollectedEntry>& collection_;
    int& count_;
    std::vector<FoundOrigin>& origins_;
    TableRecords table_;
    std::vector<FolderState> states_;
    std::unordered_map<uint32_t, std::wstring> paths_;
    std::vector<uint32_t> links_;
    bool stopped_ = false;
};

}  // namespace

TableScan scanVolumeTable(const WalkRequest& request, WalkObserver& observer, std::vector<CollectedEntry>& collection,
                          int& collectedCount, std::vector<FoundOrigin>& origins) {
    return TableScanner(request, observer, collection, collectedCount, origins).run();
}
