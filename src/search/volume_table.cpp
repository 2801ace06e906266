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
    TableScanner(const WalkRequest& request, WalkObserver& observer, FoundFiles& found)
        : request_(request), observer_(observer), found_(found) {}

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
        found_.clear();
        found_.addOrigin(originAt(root, PathFinal(root)));
        if (!collect(folders)) return TableScan::unavailable;
        followLinksOffTheVolume(folders);
        found_.sortLargestFirst();
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
            const uint32_t folder = foundFolder(folders, name.parent);
            if (folder == leftOut) continue;
            found_.add(folder, text, FileIdentity{table_.reference(record), size, table_.lastWrite(record)}, 0,
                       table_.isOnlineOnly(record) ? foundOnlineOnly : 0);
            if (request_.counts)
                request_.counts->found.store(static_cast<int>(found_.count()), std::memory_order_relaxed);
        }
        return true;
    }

    static constexpr uint32_t leftOut = ~uint32_t{0};

    // Joined once for each folder that holds a collected file, and kept by the
    // found files as that folder's path; leftOut for a folder in the Windows folder.
    uint32_t foundFolder(const TableFolders& folders, uint32_t folder) {
        auto known = foundFolders_.find(folder);
        if (known != foundFolders_.end()) return known->second;
        const std::wstring path = folders.path(folder, request_.rootPath);
        const uint32_t found = isInFolder(path, request_.windowsFolderPrefix) ? leftOut : found_.addFolder(path);
        return foundFolders_.emplace(folder, found).first->second;
    }

    // A folder link that leads off the volume is walked as the walk would; one
    // that leads onto it adds nothing the table does not hold once.
    void followLinksOffTheVolume(const TableFolders& folders) {
        const unsigned long volume = found_.origins()[0].volume;
        for (uint32_t link : folders.links()) {
            if (stopped_) return;
            const std::wstring path = folders.path(link, request_.rootPath);
            const std::wstring target = PathFinal(path);
            if (!target.empty() && isInFolder(PathAsFolder(target), request_.windowsFolderPrefix)) continue;
            if (PathVolumeSerial(path) == volume) continue;
            WalkRequest linked = request_;
            linked.rootPath = path;
            linked.counts = nullptr;
            if (!walkInto(linked, observer_, found_)) stopped_ = true;
        }
    }

    const WalkRequest& request_;
    WalkObserver& observer_;
    FoundFiles& found_;
    TableRecords table_;
    std::unordered_map<uint32_t, uint32_t> foundFolders_;  // table record -> found folder
    bool stopped_ = false;
};

}  // namespace

TableScan scanVolumeTable(const WalkRequest& request, WalkObserver& observer, FoundFiles& found) {
    return TableScanner(request, observer, found).run();
}
