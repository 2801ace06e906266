#include "app/event_loop.h"

#include "app/control_ids.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/settings.h"
#include "app/startup.h"
#include "fileinfo/info_panel.h"
#include "purge/move_target.h"
#include "purge/purge_actions.h"
#include "purge/purge_state.h"
#include "search/busy_state.h"
#include "search/match_rules.h"
#include "search/search_driver.h"
#include "search/search_state.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/paths.h"
#include "toolkit/person.h"
#include "toolkit/system.h"
#include "toolkit/text.h"

#include <commctrl.h>

LoopState& loopState() {
    static LoopState state;
    return state;
}

namespace {

void tickEveryRow() {
    LoopState& loop = loopState();
    loop.tickAllNext = 1 - loop.tickAllNext;
    LVITEMW item{};
    item.mask = LVIF_STATE;
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = loop.tickAllNext == 0 ? 0x2000 : 0x1000;
    SendMessageW(ControlNativeHandle(idResultsList), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&item));
}

void handleKeyDown() {
    LoopState& loop = loopState();
    loop.focusedControl = ControlFocus();
    if (loop.focusedControl == idTextField) {
        if (KeyHeld(VK_RETURN)) runSearch();
    } else if (loop.focusedControl == idResultsList && ControlItemCount(idResultsList) > 0) {
        if (KeyHeld(VK_DELETE)) {
            purgeTickedFiles(idDeleteButton);
        } else if (KeyHeld(VK_CONTROL) && KeyHeld('A')) {
            tickEveryRow();
        }
    }
}

void handleListEvent(int kind) {
    LoopState& loop = loopState();
    loop.selectedRow = static_cast<int>(ControlState(idResultsList));
    loop.selectedPath = loop.selectedRow < 0 ? std::wstring() : ControlItemText(idResultsList, loop.selectedRow, 1);
    updateActionButtons();
    if (kind == 2 && !loop.selectedPath.empty()) showFileTypeInfo(loop.selectedPath);
}

// A choice is a selection change while the list is closed (keys, wheel, tools
// that drive the window) or the list closing on another item. Steps through the
// open list and focus changes are not: acting on them would move the focus and
// close the list under the person's hand.
bool criterionChosen(int kind) {
    if (ControlAttribute(idCriterionSelector, comboListOpen)) return false;
    if (kind == kindChange) return true;
    return kind == CBN_CLOSEUP &&
           thresholdForCriterion(ControlText(idCriterionSelector)) != searchState().sizeThreshold;
}

void chooseCriterion() {
    searchState().sizeThreshold = thresholdForCriterion(ControlText(idCriterionSelector));
    updateActionButtons();
    ControlSetFocus(idTextField);
    // The Enter that closed the list must not reach the field and start a search.
    waitForKeysReleased();
    discardKeystrokes();
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
    LoopState& loop = loopState();
    loop.eventControl = control;
    switch (control) {
        case idDriveList:
            checkMoveTarget();
            break;
        case idCriterionSelector:
            if (criterionChosen(kind)) chooseCriterion();
            break;
        case idSearchButton:
            runSearch();
            break;
        case idDeleteButton:
        case idMoveButton:
            purgeTickedFiles(control);
            break;
        case idWindowsFolderOption:
            searchState().searchWindowsFolder = (ControlState(idWindowsFolderOption) & 1) != 0;
            break;
        case idTempFilesOption:
            purgeState().purgeTempFiles = (ControlState(idTempFilesOption) & 1) != 0;
            updateActionButtons();
            break;
        case idMoveTargetField:
            purgeState().moveTarget = TextTrim(ControlText(idMoveTargetField));
            checkMoveTarget();
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
    loopState().lastEvent = code;
    if (code == WM_KEYDOWN) {
        handleKeyDown();
    } else if (code == eventControl) {
        dispatchControlEvent(EventControl(), EventKind());
    }
    return code != eventCloseRequest;
}

void runEventLoop() {
    while (handleEvent(EventWait(-1))) {
    }
    saveSettings();
    shutdown();
}

void updateActionButtons() {
    LoopState& loop = loopState();
    bool anyTicked = false;
    for (int row = 0, rows = ControlItemCount(idResultsList); row < rows && !anyTicked; ++row)
        anyTicked = (ControlItemState(idResultsList, row) & 2) != 0;

    const LRESULT selected = SendMessageW(ControlNativeHandle(idResultsList), LVM_GETSELECTEDCOUNT, 0, 0);
    if (selected == 0) {
        resetInfoPanel();
    } else if (selected == 1) {
        setMainStatus(PathNamePart(loop.selectedPath));
    } else {
        loop.selectedPath.clear();
        resetInfoPanel();
    }
    const bool deleteEnabled = anyTicked || purgeState().purgeTempFiles;
    ControlSetDisabled(idDeleteButton, !deleteEnabled);
    ControlSetDisabled(idMoveButton, !anyTicked);

    const bool textMode = ControlText(idCriterionSelector) == textCriterion;
    ControlSetDisabled(idTextLabel, !textMode);
    ControlSetDisabled(idTextField, !textMode);
}

void waitForKeysReleased() {
    // Any bit counts, the pressed-since-last-asked bit too: the key that closed a
    // message box must not reach the window.
    for (;;) {
        SleepAnsweringSentMessages(1);
        if (personCalls().keyState(VK_ESCAPE) != 0) continue;
        if (personCalls().keyState(VK_RETURN) != 0) continue;
        return;
    }
}

void openManual() {
    const Program& p = program();
    if (PathSize(p.manualPath) == sizeMissing) {
        ShowMessage(L"The " + p.name + L" manual could not be found.\nYou should reinstall the product to fix this problem.",
                    p.name, MB_OK | MB_ICONHAND);
        waitForKeysReleased();
        return;
    }
    RunProgram(p.manualPath);
}
