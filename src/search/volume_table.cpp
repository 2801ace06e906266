#include "search/volume_table.h"

#include "search/match_rules.h"
#include "search/table_folders.h"
#include "search/table_reader.h"
#include "toolkit/paths.h"
#include "toolkit/raw_volume.h"

#include <new>
#include <stdexcept>
#include <optional>
#include <vector>

namespace {

class TableScanner {
public:
    TableScanner(const WalkRequest& request, WalkObserver& observer, FoundFiles& found)
        : request_(request), observer_(observer), found_(found) {}

    TableScan run() {
        const std::wstring& root = request_.rootPath;
        if (root.size() != 3 || root[1] != L':' || root[2] != L'\\') return TableScan::unavailable;
        RawVolume volume(root[0]);
        if (!volume.isOpen()) return TableScan::unavailable;
        const std::optional<Geometry> geometry = readGeometry(volume);
        if (!geometry) return TableScan::unavailable;
        const auto stop = [this] { return observer_.stopRequested(); };
        TableLayout layout;
        const TableRead laidOut = readTableLayout(volume, *geometry, layout, stop);
        if (laidOut == TableRead::stopped) {
            found_.clear();
            return TableScan::stopped;
        }
        if (laidOut == TableRead::refused) return TableScan::unavailable;
        const TableRead read = readTable(
            volume, *geometry, layout, table_, stop,
            [this](uint32_t records) {
                if (request_.counts) request_.counts->lookedAt.store(records, std::memory_order_relaxed);
            });
        if (read == TableRead::refused) return TableScan::unavailable;
        stopped_ = read == TableRead::stopped;
        TableFolders folders(table_, static_cast<uint32_t>(root.size()));
        found_.clear();
        if (request_.totals) request_.totals->clear();
        found_.addOrigin(originAt(root, PathFinal(root)));
        if (!collect(folders)) {
            if (request_.totals) request_.totals->clear();
            return TableScan::unavailable;
        }
        followLinksOffTheVolume(folders);
        found_.sortLargestFirst();
        if (request_.totals) request_.totals->finish(found_, foundFolders_[rootRecord], stopped_);
        return stopped_ ? TableScan::stopped : TableScan::done;
    }

private:
    // Every in-use file's names, with paths joined from their parents; false when a
    // name's folder or path cannot be real (the table is not trusted). With totals,
    // every file is counted in its folder and kind, and every folder is placed.
    bool collect(TableFolders& folders) {
        SpaceTotals* const totals = request_.totals;
        if (table_.recordCount() <= rootRecord) return false;
        foundFolders_.assign(table_.recordCount(), unplaced);
        foundFolders_[rootRecord] = found_.addFolder(request_.rootPath);
        const TableNames& names = table_.names();
        for (auto at = names.begin(); at != names.end(); ++at) {
            const TableName& name = *at;
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
            const std::wstring_view text = at.text();
            const bool matches =
                size > request_.sizeThreshold && (!request_.nameTest || nameMatches(text, request_.nameText));
            if (!matches && !totals) continue;
            const uint32_t folder = foundFolder(folders, name.parent);
            if (folder == FoundFiles::noFolder) return false;
            if (folder == leftOut) continue;
            const bool onlineOnly = table_.isOnlineOnly(record);
            if (totals)
                totals->addFile(folder, text, size, table_.allocation(record), table_.lastWrite(record),
                                table_.nameCount(record) > 1 ? table_.reference(record) : 0, onlineOnly);
            if (!matches) continue;
            found_.add(folder, text, FileIdentity{table_.reference(record), size, table_.lastWrite(record)}, 0,
                       static_cast<uint16_t>((onlineOnly ? foundOnlineOnly : 0) |
                                             (table_.isReadOnly(record) ? foundReadOnly : 0)));
            if (request_.counts)
                request_.counts->found.store(static_cast<int>(found_.count()), std::memory_order_relaxed);
        }
        return placeFolders(folders);
    }

    // Every user folder, also those that hold no file, and the links among them:
    // a link has no entries in the table, and what it leads to is walked.
    bool placeFolders(TableFolders& folders) {
        SpaceTotals* const totals = request_.totals;
        for (uint32_t record = rootRecord; record < table_.recordCount(); ++record) {
            if ((record != rootRecord && record < firstUserRecord) || !table_.inUse(record) || !table_.isFolder(record))
                continue;
            const TableFolders::Standing standing = folders.place(record, table_.sequence(record));
            if (standing != TableFolders::Standing::user) continue;  // a broken one the walk would not reach either
            const bool link = record != rootRecord && table_.isLink(record);
            if (!totals && !link) continue;
            const uint32_t folder = foundFolder(folders, record);
            if (folder == FoundFiles::noFolder) return false;
            if (folder == leftOut) continue;
            if (link) links_.push_back(record);
            if (!totals) continue;
            if (link) totals->markLink(folder);
            else totals->countFolder(folder);
        }
        return true;
    }

    static constexpr uint32_t leftOut = ~uint32_t{0} - 1, unplaced = ~uint32_t{0} - 2;

    // The found folder a user folder of the table is, added with the folders above
    // it as far as they were not: each costs its own name, not its path. leftOut
    // for a folder in the Windows folder; noFolder where a name cannot be kept.
    uint32_t foundFolder(const TableFolders& folders, uint32_t folder) {
        if (foundFolders_[folder] != unplaced) return foundFolders_[folder];  // most often: a file's folder again
        climb_.clear();
        uint32_t at = folder;
        while (foundFolders_[at] == unplaced && at != rootRecord) {
            climb_.push_back(at);
            at = table_.firstName(at)->parent;  // placed as a user folder: it has a name and reaches the root
        }
        uint32_t found = foundFolders_[at];  // the root was placed first
        for (size_t i = climb_.size(); i-- > 0;) {
            const uint32_t below = climb_[i];
            if (found != leftOut && found != FoundFiles::noFolder) {
                found = isWindowsFolder(folders, below) ? leftOut
                                                        : found_.addFolder(found, table_.text(*table_.firstName(below)));
            }
            foundFolders_[below] = found;
        }
        return found;
    }

    // Only a folder whose path is as long as the Windows folder's can be it.
    bool isWindowsFolder(const TableFolders& folders, uint32_t folder) const {
        const std::wstring& prefix = request_.windowsFolderPrefix;
        return !prefix.empty() && folders.pathLength(folder) == prefix.size() &&
               isInFolder(folders.path(folder, request_.rootPath), prefix);
    }

    // A folder link that leads off the volume is walked as the walk would; one
    // that leads onto it adds nothing the table does not hold once.
    void followLinksOffTheVolume(const TableFolders& folders) {
        const unsigned long volume = found_.origins()[0].volume;
        for (uint32_t link : links_) {
            if (stopped_) return;
            const std::wstring path = folders.path(link, request_.rootPath);
            const std::wstring target = PathFinal(path);
            if (!target.empty() && isInFolder(PathAsFolder(target), request_.windowsFolderPrefix)) continue;
            if (PathVolumeSerial(path) == volume) continue;
            const uint32_t folder = foundFolder(folders, link);
            if (folder == leftOut || folder == FoundFiles::noFolder) continue;
            WalkRequest linked = request_;
            linked.rootPath = path;
            linked.counts = nullptr;
            linked.totals = nullptr;
            if (walkInto(linked, observer_, found_, folder) == WalkEnd::stopped) stopped_ = true;
        }
    }

    const WalkRequest& request_;
    WalkObserver& observer_;
    FoundFiles& found_;
    TableRecords table_;
    KeptVector<uint32_t> foundFolders_;   // by table record: its found folder, leftOut or unplaced
    std::vector<uint32_t> links_;         // folder records that are links, outside the Windows folder
    std::vector<uint32_t> climb_;
    bool stopped_ = false;
};

}  // namespace

TableScan scanVolumeTable(const WalkRequest& request, WalkObserver& observer, FoundFiles& found) {
    // A table that asks for more memory than there is, or more than a vector
    // can hold, ends the scan, not Ravlek.
    try {
        return TableScanner(request, observer, found).run();
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    found.clear();
    if (request.totals) request.totals->clear();
    return TableScan::unavailable;
}
