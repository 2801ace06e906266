#include "search/search_command.h"

#include "search/match_rules.h"
#include "search/results_list.h"
#include "search/search_state.h"
#include "search/volume_table.h"
#include "search/walk.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/paths.h"
#include "toolkit/person.h"
#include "toolkit/system.h"
#include "toolkit/text.h"
#include "toolkit/window.h"
#include "window/busy_state.h"
#include "window/control_ids.h"
#include "window/criteria.h"
#include "window/found_files.h"
#include "window/info_pages.h"
#include "window/key_waits.h"
#include "window/main_window.h"
#include "window/program.h"
#include "window/window_state.h"

namespace {

// The person stops a walk by holding Escape.
class EscapeStopsTheWalk final : public WalkObserver {
public:
    bool stopRequested() override { return KeyHeld(keyEscape); }
};

// The walk goes one call deeper per folder level, and a path of 32,767
// characters nests up to 16,000 levels: room for all of them.
constexpr unsigned long walkStackBytes = 16 * 1024 * 1024;

struct WalkJob {
    std::wstring rootPath;
    bool nameTest;
    std::wstring nameText;
};

void walkWorker(void* parameter) {
    const WalkJob& job = *static_cast<WalkJob*>(parameter);
    collectFiles(job.rootPath, job.nameTest, job.nameText);
}

}  // namespace

void collectFiles(const std::wstring& rootPath, bool nameTest, const std::wstring& nameText) {
    SearchState& state = searchState();
    WalkRequest request;
    request.rootPath = rootPath;
    request.sizeThreshold = state.sizeThreshold;
    request.nameTest = nameTest;
    request.nameText = nameText;
    if (!state.searchWindowsFolder) request.windowsFolderPrefix = state.windowsFolderPrefix;
    request.counts = &state.walkCounts;
    EscapeStopsTheWalk escape;
    // The volume's own table where Ravlek may read it, else a walk of its folders.
    const TableScan scanned = state.readVolumeTable
                                  ? scanVolumeTable(request, escape, state.collection, state.collectedCount, state.origins)
                                  : TableScan::unavailable;
    if (scanned == TableScan::unavailable) {
        state.walkStopped = !walkDrive(request, escape, state.collection, state.collectedCount, state.origins);
    } else {
        state.walkStopped = scanned == TableScan::stopped;
    }
}

namespace {

// A line of a collected entry: 0 the padded size, 1 the size text, 2 the path.
std::wstring entryLine(const std::wstring& entry, int line) {
    size_t start = 0;
    for (int skipped = 0; skipped < line; ++skipped) start = entry.find(L'\n', start) + 1;
    const size_t end = entry.find(L'\n', start);
    return entry.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

const std::wstring& entryOfRow(int key) {
    return searchState().collection[static_cast<size_t>(foundFiles().rows[static_cast<size_t>(key)].entry)].text;
}

}  // namespace

void listCollectedEntries(bool textMode, const std::wstring& searchText) {
    const SearchState& state = searchState();
    FoundFiles& found = foundFiles();
    found.origins = state.origins;
    found.rows.clear();
    const std::wstring ofAll = L" of " + countText(state.collectedCount) + L" listed";
    for (int i = 1; i <= state.collectedCount; ++i) {
        const CollectedEntry& collected = state.collection[static_cast<size_t>(i)];
        if (!textMode || entryMatchesName(collected.text, searchText))
            found.rows.push_back(FoundFile{collected.identity, collected.origin, i});
        if (KeyHeld(keyEscape)) break;
        if ((i & 4095) == 0) {
            EventTendWhileBusy();
            showBusyProgress(countText(i) + ofAll);
        }
    }
    // The list holds no texts of its own: it asks for the rows it draws. A file
    // read-only or gone by then shows red.
    RowSource rows;
    rows.text = [](int key, int column) { return entryLine(entryOfRow(key), column + 1); };
    rows.color = [](int key) { return (PathAttributes(entryLine(entryOfRow(key), 2)) & 1) ? warningRed : -1; };
    rows.colorColumn = 1;
    ControlShowRows(idResultsList, static_cast<int>(found.rows.size()), rows);
}

void runSearch() {
    const bool textMode = ControlText(idCriterionSelector) == textCriterion;
    std::wstring searchText;
    if (textMode) {
        searchText = TextLower(ControlText(idTextField));
        if (searchText.empty()) {
            tell(L"You haven't specified any text or a file extension.", messageWarning);
            ControlSetFocus(idTextField);
            return;
        }
        // Checked before the quotes go: a text of quotes alone searches and finds nothing.
        searchText = TextRemove(searchText, L"\"");
    }

    WindowBringForward(mainWindowNumber);
    drainEvents();
    std::wstring& drive = windowState().searchDrive;
    drive = TextLeft(ControlText(idDriveList), 2);

    // Only a drive letter is walked: "\" alone would walk whatever drive is current.
    const bool walkable = drive.size() == 2 && drive[1] == L':';
    // The walk reads the drive on a thread of its own while this one greys the
    // window and shows the notice: Wine takes about as long to repaint the two
    // dozen controls as to walk a small drive, and the two keep different cores
    // busy. Nothing here touches the search state until the walk has ended.
    // The rows go first: the list asks the collection for their texts, and the
    // walk writes the collection anew.
    clearResults();
    WalkJob walk{drive + L"\\", textMode, searchText};
    const int walker = walkable ? ThreadStart(walkWorker, &walk, walkStackBytes) : 0;
    ControlSetState(idTabPanel, 0);
    resetInfoPanel();
    setMainControlsDisabled(1);
    showBusyNotice(L"Scanning " + drive + L" drive (hold Esc to stop)");
    if (walker) {
        // The window lives on while the drive is walked, and shows how far it is.
        const WalkCounts& counts = searchState().walkCounts;
        EventWaitWhileBusy([walker] { return ThreadEnded(walker); }, [&counts] {
            showBusyProgress(countText(counts.lookedAt.load(std::memory_order_relaxed)) + L" files looked at, " +
                             countText(counts.found.load(std::memory_order_relaxed)) + L" found");
        });
        ThreadFinish(walker);
    } else if (walkable) {
        walkWorker(&walk);  // no thread to be had
    } else {
        searchState().collectedCount = 0;
        searchState().walkStopped = false;
    }

    // The person who stopped the walk is still holding Escape: what was found is
    // listed once the key is let go, or the listing would stop at its first row.
    if (searchState().walkStopped) waitForKeysReleased();
    listCollectedEntries(textMode, searchText);

    hideBusyNotice();
    setMainControlsDisabled(0);
    setMainStatus(L"Showing " + TextFromInteger(ControlItemCount(idResultsList)) +
                  L" matches. Files in red are read-only.");
    ControlSetFocus(idResultsList);
}
