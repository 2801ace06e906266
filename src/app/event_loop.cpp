#include "app/event_loop.h"

#include "app/requests.h"
#include "app/results_menu.h"
#include "app/space_menu.h"
#include "fileinfo/info_command.h"
#include "purge/copies_command.h"
#include "purge/move_target.h"
#include "purge/purge_command.h"
#include "search/search_command.h"
#include "search/criteria.h"
#include "toolkit/events.h"
#include "toolkit/paths.h"
#include "toolkit/person.h"
#include "toolkit/picture_view.h"
#include "toolkit/system.h"
#include "toolkit/text.h"
#include "window/key_waits.h"
#include "window/main_window.h"
#include "window/program.h"

#include <optional>

namespace {

void startSearch(Application& app) {
    SearchRequest request = readSearchRequest(app.window, app.program);
    request.readVolumeTable = app.readVolumeTables;
    app.map.stopDrawing();  // it reads the results the search writes anew
    runSearch(request, app.loop.results, app.window);
    app.map.showDrive(app.loop.results, app.window);
}

void purgeTicked(Application& app, bool moving) {
    app.map.stopDrawing();
    purgeTickedFiles(readPurgeRequest(app.window, app.program, moving), app.loop.results, app.purge, app.window);
    app.map.redraw(app.loop.results, app.window);
}

void tickEveryRow(Application& app) {
    app.loop.tickAllNext = 1 - app.loop.tickAllNext;
    app.window.tickAllRows(app.loop.tickAllNext == 0);
}

void handleKeyDown(Application& app) {
    const std::optional<MainControl> focused = app.window.focusedControl();
    if (focused == MainControl::textField) {
        if (KeyHeld(keyEnter)) startSearch(app);
    } else if (focused == MainControl::spaceMap) {
        if (KeyHeld(keyBackspace)) app.map.upOneFolder(app.loop.results, app.window);
    } else if (focused == MainControl::resultsList && app.window.rowCount() > 0) {
        if (KeyHeld(keyDelete)) {
            purgeTicked(app, false);
        } else if (KeyHeld(keyControl) && KeyHeld('A')) {
            tickEveryRow(app);
        } else if (KeyHeld(keyControl) && KeyHeld('C')) {
            copySelectedPaths(app.loop.results, app.window);
        }
    }
}

void handleListEvent(Application& app, int kind) {
    MainWindow& window = app.window;
    if (kind == kindMenu) {
        showResultsMenu(app.loop.results, window);
        return;
    }
    // One file selected is the file the status names and a double-click asks about.
    const std::optional<int> selectedRow = window.focusedRow();
    window.setSelectedPath(!selectedRow || window.selectedRowCount() > 1
                               ? std::wstring()
                               : app.loop.results.pathOfRow(window.rowKey(*selectedRow)));
    window.updateActionButtons();
    if (kind == kindDoubleClick && !window.selectedPath().empty()) showFileTypeInfo(window.selectedPath(), window);
}

// A choice is a selection change while the list is closed (keys, wheel, tools
// that drive the window) or the list closing on another item. Steps through the
// open list and focus changes are not: acting on them would move the focus and
// close the list under the person's hand.
bool criterionChosen(const Application& app, int kind) {
    if (app.window.criterionListOpen()) return false;
    if (kind == kindChange) return true;
    return kind == kindListClosed && thresholdForCriterion(app.window.chosenCriterionText()) != app.loop.chosenThreshold;
}

void chooseCriterion(Application& app) {
    app.loop.chosenThreshold = thresholdForCriterion(app.window.chosenCriterionText());
    app.window.updateActionButtons();
    app.window.focus(MainControl::textField);
    // The Enter that closed the list must not reach the field and start a search.
    waitForKeysReleased();
    EventDiscardKeystrokes();
}

void handleMapEvent(Application& app, int kind) {
    SpaceMapView& map = app.map;
    switch (kind) {
        case kindPointerMove: map.pointerMoved(app.loop.results, app.window); break;
        case kindClick: map.clicked(app.loop.results, app.window); break;
        case kindDoubleClick: map.doubleClicked(app.loop.results, app.window); break;
        case kindMenu: map.showMenu(app.loop.results, app.window); break;
        default: break;
    }
}

void handleTabEvent(MainWindow& window) {
    switch (const InfoPage page = window.shownInfoPage()) {
        case InfoPage::results: window.focus(MainControl::resultsList); break;
        case InfoPage::folderSizes: window.focus(MainControl::folderTree); break;
        case InfoPage::fileType:
        case InfoPage::exactFile: window.focusWebPage(page); break;
    }
}

}  // namespace

void dispatchControlEvent(Application& app, int number, int kind) {
    const std::optional<MainControl> control = app.window.controlOf(number);
    if (!control) return;
    switch (*control) {
        case MainControl::driveList:
            checkMoveTarget(app.purge, app.window);
            break;
        case MainControl::criterion:
            if (criterionChosen(app, kind)) chooseCriterion(app);
            break;
        case MainControl::searchButton:
            startSearch(app);
            break;
        case MainControl::deleteButton:
        case MainControl::moveButton:
            purgeTicked(app, *control == MainControl::moveButton);
            break;
        case MainControl::tempFilesOption:
            app.window.updateActionButtons();  // the option alone is something to purge
            break;
        case MainControl::moveTargetField:
            takeTypedMoveTarget(app.purge, app.window);
            break;
        case MainControl::browseButton:
            browseForMoveTarget(app.purge, app.window);
            break;
        case MainControl::resultsList:
            handleListEvent(app, kind);
            break;
        case MainControl::tabPanel:
            handleTabEvent(app.window);
            break;
        case MainControl::folderTree:
            if (kind == kindMenu) showFolderMenu(app.loop.results, app.window);
            if (kind == kindChange) app.map.treeSelectionChanged(app.loop.results, app.window);
            break;
        case MainControl::spaceMap:
            handleMapEvent(app, kind);
            break;
        case MainControl::fileKinds:
            if (kind == kindMenu) showKindsMenu(app.loop.results, app.window);
            break;
        case MainControl::manualButton:
            openManual(app.program, app.window);
            break;
        case MainControl::textField:
            break;
    }
}

bool handleEvent(Application& app, int code) {
    if (code == eventKeyDown) {
        handleKeyDown(app);
    } else if (code == eventControl) {
        dispatchControlEvent(app, EventControl(), EventKind());
    }
    // A map drawn meanwhile goes on show (eventWorkEnded woke the loop for it).
    app.map.tend(app.loop.results, app.window);
    return code != eventCloseRequest;
}

void runEventLoop(Application& app) {
    while (handleEvent(app, EventWait(-1))) {
    }
}

void openManual(const Program& p, MainWindow& window) {
    if (PathSize(p.manualPath) == sizeMissing) {
        window.tell(L"The " + p.name + L" manual could not be found.\nYou should reinstall the product to fix this problem.",
             messageStop);
        return;
    }
    RunProgram(p.manualPath);
}
