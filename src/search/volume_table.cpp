#include "search/volume_table.h"

#include "search/match_rules.h"
#include "search/table_folders.h"
#include "search/table_reader.h"
#include "toolkit/paths.h"
#include "toolkit/raw_volume.h"

#include <unordered_map>

namespace {

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
        TableLayout layout;
        if (!volume.isOpen() || !readGeometry(volume, geometry) || !readTableLayout(volume, geometry, layout))
            return TableScan::unavailable;
        const TableRead read = readTable(
            volume, geometry, layout, table_, [this] { return observer_.stopRequested(); },
            [this](uint32_t records) {
                if (request_.counts) request_.counts->lookedAt.store(records, std::memory_order_relaxed);
            });
        if (read == TableRead::refused) return TableScan::unavailable;
        stopped_ = read == TableRead::stopped;
        TableFolders folders(table_, static_cast<uint32_t>(root.size()));
        count_ = 0;
        origins_.clear();
        origins_.push_back(originAt(root, PathFinal(root)));
        if (!collect(folders)) return TableScan::unavailable;
        followLinksOffTheVolume(folders);
        sortCollected(collection_, count_);
        return stopped_ ? TableScan::stopped : TableScan::done;
    }

private:
    // Every in-use file's names, with paths joined from their parents; false when a
    // name's folder or path cannot be real (the table is not trusted).
    bool collect(TableFolders& folders) {
        for (const TableName& name : table_.names()) {
            const uint32_t record = name.record;
            if (record < firstUserRecord || !table_.inUse(record) || table_.isFolder(record)) continue;
            const TableFolders::Standing standing = folders.place(name.parent, name.parentSequence);
            if (standing == TableFolders::Standing::broken) {
                if (stopped_) continue;  // its parent may lie in what was not read
                return false;
            }
            if (standing == TableFolders::Standing::system) continue;
            if (folders.pathLength(name.parent) + name.length > longestPath) return false;
            const long long size = table_.size(record);
            if (size <= request_.sizeThreshold) continue;
            const std::wstring_view text = table_.text(name);
            if (request_.nameTest && !nameMatches(text, request_.nameText)) continue;
            const std::wstring& folder = folderPath(folders, name.parent);
            if (isInFolder(folder, request_.windowsFolderPrefix)) continue;
            collectFile(collection_, count_, folder, text,
                        FileIdentity{table_.reference(record), size, table_.lastWrite(record)}, 0);
            if (request_.counts) request_.counts->found.store(count_, std::memory_order_relaxed);
        }
        return true;
    }

    // Joined once for each folder that holds a collected file.
    const std::wstring& folderPath(const TableFolders& folders, uint32_t folder) {
        auto known = paths_.find(folder);
        if (known != paths_.end()) return known->second;
        return paths_.emplace(folder, folders.path(folder, request_.rootPath)).first->second;
    }

    // A folder link that leads off the volume is walked as the walk would; one
    // that leads onto it adds nothing the table does not hold once.
    void followLinksOffTheVolume(const TableFolders& folders) {
        const unsigned long volume = origins_[0].volume;
        for (uint32_t link : folders.links()) {
            if (stopped_) return;
            const std::wstring path = folderPath(folders, link);
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
    std::unordered_map<uint32_t, std::wstring> paths_;
    bool stopped_ = false;
};

}  // namespace

TableScan scanVolumeTable(const WalkRequest& request, WalkObserver& observer, std::vector<CollectedEntry>& collection,
                          int& collectedCount, std::vector<FoundOrigin>& origins) {
    return TableScanner(request, observer, collection, collectedCount, origins).run();
}
