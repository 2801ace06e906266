#include "search/search_command.h"

#include "results/size_text.h"
#include "results/space_page.h"
#include "search/match_rules.h"
#include "search/volume_table.h"
#include "search/walk.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/file_attributes.h"
#include "toolkit/paths.h"
#include "toolkit/person.h"
#include "toolkit/system.h"
#include "toolkit/text.h"
#include "toolkit/window.h"
#include "window/busy_state.h"
#include "window/work_aside.h"
#include "window/key_waits.h"
#include "window/main_window.h"

#include <new>

namespace {

// The person stops a walk by holding Escape.
class EscapeStopsTheWalk final : public WalkObserver {
public:
    bool stopRequested() override { return KeyHeld(keyEscape); }
};

// The text a name must hold: lower-cased, quotes removed.
std::wstring nameTextOf(const SearchRequest& request) { return TextRemove(TextLower(request.text), L"\""); }

}  // namespace

WalkRequest walkRequestFor(const SearchRequest& request) {
    WalkRequest walk;
    walk.rootPath = request.drive + L"\\";
    walk.sizeThreshold = request.sizeThreshold;
    walk.nameTest = request.textMode;
    if (request.textMode) walk.nameText = nameTextOf(request);
    if (!request.searchWindowsFolder) walk.windowsFolderPrefix = folderPrefixOf(request.windowsFolder);
    walk.readVolumeTable = request.readVolumeTable;
    return walk;
}

namespace {

// The rows go first: the list asks the collection for their texts, and the walk
// writes the collection anew.
void clearResults(SearchResults& results, MainWindow& window) {
    window.clearRows();
    results.rows.clear();
    window.clearFolderSizes(L"Searching\u2026");
    results.kindOrder.clear();
}

}  // namespace

void collectFiles(WalkRequest request, SearchResults& results) {
    EscapeStopsTheWalk escape;
    collectFiles(request, results, escape);
}

void collectFiles(WalkRequest request, SearchResults& results, WalkObserver& escape) {
    // The volume's own table where Ravlek may read it, else a walk of its folders.
    const TableScan scanned =
        request.readVolumeTable ? scanVolumeTable(request, escape, results.found) : TableScan::unavailable;
    if (scanned == TableScan::unavailable) {
        // A walk that runs out of memory ends as if stopped, with nothing listed.
        try {
            results.walkStopped = walkDrive(request, escape, results.found) == WalkEnd::stopped;
        } catch (const std::bad_alloc&) {
            results.found.clear();
            results.totals.clear();
            results.walkStopped = true;
        }
    } else {
        results.walkStopped = scanned == TableScan::stopped;
    }
}

void listFoundFiles(SearchResults& results, MainWindow& window) {
    const FoundFiles& found = results.found;
    results.rows.clear();
    const std::wstring ofAll = L" of " + countText(static_cast<long long>(found.count())) + L" listed";
    for (size_t i = 0; i < found.count(); ++i) {
        results.rows.push_back(i);
        if (KeyHeld(keyEscape)) break;
        if (((i + 1) & 4095) == 0) {
            EventTendWhileBusy();
            window.showBusyProgress(countText(static_cast<long long>(i + 1)) + ofAll);
        }
    }
    // The list holds no texts of its own: it asks for the rows it draws. A file
    // read-only or gone by then shows red. The results outlive the rows: a new
    // search clears the rows before it touches them.
    const SearchResults* shown = &results;
    RowSource rows;
    rows.text = [shown](int key, int column) {
        const FoundFile* file = shown->fileOfRow(key);
        if (!file) return std::wstring();
        return column == 0 ? sizeText(static_cast<double>(file->identity.size)) : shown->found.pathOf(*file);
    };
    // Red: a read-only file, or one that can no longer be asked (gone since the search).
    rows.color = [shown](int key) {
        const int attributes = PathAttributes(shown->pathOfRow(key));
        return attributes == attributesUnknown || (attributes & attributeReadOnly) ? warningRed : -1;
    };
    rows.colorColumn = 1;
    window.showRows(static_cast<int>(results.rows.size()), rows);
}

void showSpaceTotals(SearchResults& results, MainWindow& window) {
    results.kindOrder.clear();
    if (!results.totals.isGathered()) {
        window.clearFolderSizes(spaceSummary(results));
        return;
    }
    for (const KindFigures& kind : results.totals.kinds()) results.kindOrder.push_back(kind.kind);
    window.showFolderSizes(spaceSummary(results), {static_cast<int>(results.totals.root())}, folderSizeRows(results));
    window.showFileKinds(static_cast<int>(results.kindOrder.size()), fileKindRows(results, !SystemColoursNow().highContrast));
}

void runSearch(const SearchRequest& request, SearchResults& results, MainWindow& window) {
    if (request.textMode && request.text.empty()) {
        window.tell(L"You haven't specified any text or a file extension.", messageWarning);
        window.focus(MainControl::textField);
        return;
    }
    // Checked before the quotes go: a text of quotes alone searches and finds nothing.
    WalkCounts counts;
    WalkRequest walk = walkRequestFor(request);
    walk.counts = &counts;
    walk.totals = &results.totals;

    window.bringForward();
    drainEvents();
    results.drive = request.drive;
    results.windowsFolderSearched = request.searchWindowsFolder;

    // Only a drive letter is walked: "\" alone would walk whatever drive is current.
    const bool walkable = request.drive.size() == 2 && request.drive[1] == L':';
    // The walk reads the drive on a thread of its own while this one greys the
    // window and shows the notice: Wine takes about as long to repaint the two
    // dozen controls as to walk a small drive, and the two keep different cores
    // busy. Nothing here touches the results until the walk has ended.
    clearResults(results, window);
    std::optional<WorkAside> walker;
    if (walkable) walker.emplace([&walk, &results] { collectFiles(walk, results); }, walkStackBytes);
    window.showInfoPage(InfoPage::results);
    window.resetInfoPanel();
    BusyScope busy(window, L"Scanning " + request.drive + L" drive (hold Esc to stop)");
    if (walker) {
        // The window lives on while the drive is walked, and shows how far it is.
        walker->wait([&counts, &window] {
            window.showBusyProgress(countText(counts.lookedAt.load(std::memory_order_relaxed)) + L" files looked at, " +
                             countText(counts.found.load(std::memory_order_relaxed)) + L" found");
        });
    } else {
        results.found.clear();
        results.totals.clear();
        results.walkStopped = false;
    }

    // The person who stopped the walk is still holding Escape: what was found is
    // listed once the key is let go, or the listing would stop at its first row.
    if (results.walkStopped) waitForKeysReleased();
    listFoundFiles(results, window);
    showSpaceTotals(results, window);

    busy.end();
    window.setStatus(L"Showing " + TextFromInteger(static_cast<long long>(results.rows.size())) +
                     L" matches. Files in red are read-only." +
                     (results.walkStopped && results.totals.isGathered()
                          ? L" The folder sizes are partial: the search was stopped."
                          : L""));
    window.focus(MainControl::resultsList);
}
