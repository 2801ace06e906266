#include "app/event_loop.h"

#include "app/requests.h"
#include "app/results_menu.h"
#include "fileinfo/info_command.h"
#include "purge/move_target.h"
#include "search/criteria.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/paths.h"
#include "toolkit/person.h"
#include "toolkit/system.h"
#include "toolkit/text.h"
#include "window/action_buttons.h"
#include "window/busy_state.h"
#include "window/info_pages.h"
#include "window/key_waits.h"
#include "window/main_controls.h"
#include "window/main_window.h"
#include "window/program.h"
#include "window/window_state.h"

#include <optional>

LoopState& loopState() {
    static LoopState state;
    return state;
}

namespace {

void startSearch() { runSearch(readSearchRequest(), loopState().results); }

void purgeTicked(bool moving) { purgeTickedFiles(readPurgeRequest(moving), loopState().results); }

void tickEveryRow() {
    LoopState& loop = loopState();
    loop.tickAllNext = 1 - loop.tickAllNext;
    tickAllResultRows(loop.tickAllNext == 0);
}

void handleKeyDown() {
    const std::optional<MainControl> focused = focusedMainControl();
    if (focused == MainControl::textField) {
        if (KeyHeld(keyEnter)) startSearch();
    } else if (focused == MainControl::resultsList && resultRowCount() > 0) {
        if (KeyHeld(keyDelete)) {
            purgeTicked(false);
        } else if (KeyHeld(keyControl) && KeyHeld('A')) {
            tickEveryRow();
        } else if (KeyHeld(keyControl) && KeyHeld('C')) {
            copySelectedPaths(loopState().results);
        }
    }
}

void handleListEvent(int kind) {
    if (kind == kindMenu) {
        showResultsMenu(loopState().results);
        return;
    }
    WindowState& window = windowState();
    // One file selected is the file the status names and a double-click asks about.
    const int selectedRow = focusedResultRow();
    window.selectedPath = selectedRow < 0 || selectedRowCount() > 1
                              ? std::wstring()
                              : loopState().results.pathOfRow(resultRowKey(selectedRow));
    updateActionButtons();
    if (kind == kindDoubleClick && !window.selectedPath.empty()) showFileTypeInfo(window.selectedPath);
}

// A choice is a selection change while the list is closed (keys, wheel, tools
// that drive the window) or the list closing on another item. Steps through the
// open list and focus changes are not: acting on them would move the focus and
// close the list under the person's hand.
bool criterionChosen(int kind) {
    if (criterionListOpen()) return false;
    if (kind == kindChange) return true;
    return kind == kindListClosed && thresholdForCriterion(chosenCriterionText()) != loopState().chosenThreshold;
}

void chooseCriterion() {
    loopState().chosenThreshold = thresholdForCriterion(chosenCriterionText());
    updateActionButtons();
    focusMainControl(MainControl::textField);
    // The Enter that closed the list must not reach the field and start a search.
    waitForKeysReleased();
    EventDiscardKeystrokes();
}

void handleTabEvent() {
    switch (const InfoPage page = shownInfoPage()) {
        case InfoPage::results: focusMainControl(MainControl::resultsList); break;
        case InfoPage::fileType:
        case InfoPage::exactFile: focusWebPage(page); break;
    }
}

}  // namespace

void dispatchControlEvent(int number, int kind) {
    const std::optional<MainControl> control = mainControlOf(number);
    if (!control) return;
    switch (*control) {
        case MainControl::driveList:
            checkMoveTarget();
            break;
        case MainControl::criterion:
            if (criterionChosen(kind)) chooseCriterion();
            break;
        case MainControl::searchButton:
            startSearch();
            break;
        case MainControl::deleteButton:
        case MainControl::moveButton:
            purgeTicked(*control == MainControl::moveButton);
            break;
        case MainControl::tempFilesOption:
            updateActionButtons();  // the option alone is something to purge
            break;
        case MainControl::moveTargetField:
            takeTypedMoveTarget();
            break;
        case MainControl::browseButton:
            browseForMoveTarget();
            break;
        case MainControl::resultsList:
            handleListEvent(kind);
            break;
        case MainControl::tabPanel:
            handleTabEvent();
            break;
        case MainControl::manualButton:
            openManual();
            break;
        case MainControl::textField:
            break;
    }
}

bool handleEvent(int code) {
    if (code == eventKeyDown) {
        handleKeyDown();
    } else if (code == eventControl) {
        dispatchControlEvent(EventControl(), EventKind());
    }
    return code != eventCloseRequest;
}

void runEventLoop() {
    while (handleEvent(EventWait(-1))) {
    }
}

void openManual() {
    const Program& p = program();
    if (PathSize(p.manualPath) == sizeMissing) {
        tell(L"The " + p.name + L" manual could not be found.\nYou should reinstall the product to fix this problem.",
             messageStop);
        return;
    }
    RunProgram(p.manualPath);
}
