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
#include "window/control_ids.h"
#include "window/key_waits.h"
#include "window/main_window.h"
#include "window/program.h"
#include "window/window_state.h"

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
    ControlTickAllItems(idResultsList, loop.tickAllNext == 0);
}

void handleKeyDown() {
    const int focused = ControlFocus();
    if (focused == idTextField) {
        if (KeyHeld(keyEnter)) startSearch();
    } else if (focused == idResultsList && ControlItemCount(idResultsList) > 0) {
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
    const int selectedRow = static_cast<int>(ControlState(idResultsList));
    window.selectedPath =
        selectedRow < 0 ? std::wstring() : loopState().results.pathOfRow(ControlItemKey(idResultsList, selectedRow));
    updateActionButtons();
    if (kind == kindDoubleClick && !window.selectedPath.empty()) showFileTypeInfo(window.selectedPath);
}

// A choice is a selection change while the list is closed (keys, wheel, tools
// that drive the window) or the list closing on another item. Steps through the
// open list and focus changes are not: acting on them would move the focus and
// close the list under the person's hand.
bool criterionChosen(int kind) {
    if (ControlAttribute(idCriterionSelector, comboListOpen)) return false;
    if (kind == kindChange) return true;
    return kind == kindListClosed &&
           thresholdForCriterion(ControlText(idCriterionSelector)) != loopState().chosenThreshold;
}

void chooseCriterion() {
    loopState().chosenThreshold = thresholdForCriterion(ControlText(idCriterionSelector));
    updateActionButtons();
    ControlSetFocus(idTextField);
    // The Enter that closed the list must not reach the field and start a search.
    waitForKeysReleased();
    EventDiscardKeystrokes();
}

void handleTabEvent() {
    switch (ControlState(idTabPanel)) {
        case 0: ControlSetFocus(idResultsList); break;
        case 1: focusWebPage(idTypeInfoPanel); break;
        case 2: focusWebPage(idExactInfoPanel); break;
        default: break;
    }
}

}  // namespace

void dispatchControlEvent(int control, int kind) {
    switch (control) {
        case idDriveList:
            checkMoveTarget();
            break;
        case idCriterionSelector:
            if (criterionChosen(kind)) chooseCriterion();
            break;
        case idSearchButton:
            startSearch();
            break;
        case idDeleteButton:
        case idMoveButton:
            purgeTicked(control == idMoveButton);
            break;
        case idTempFilesOption:
            updateActionButtons();  // the option alone is something to purge
            break;
        case idMoveTargetField:
            takeTypedMoveTarget();
            break;
        case idBrowseButton:
            browseForMoveTarget();
            break;
        case idResultsList:
            handleListEvent(kind);
            break;
        case idTabPanel:
            handleTabEvent();
            break;
        case idManualButton:
            openManual();
            break;
        default:
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
