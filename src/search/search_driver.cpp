#include "search/search_driver.h"

#include "app/control_ids.h"
#include "app/event_loop.h"
#include "app/main_window.h"
#include "app/program.h"
#include "fileinfo/info_panel.h"
#include "search/busy_state.h"
#include "search/match_rules.h"
#include "search/results_list.h"
#include "search/search_state.h"
#include "search/walk.h"
#include "toolkit/controls.h"
#include "toolkit/person.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

std::wstring& searchDrive() {
    static std::wstring drive;
    return drive;
}

void listCollectedEntries(bool textMode, const std::wstring& searchText) {
    const SearchState& state = searchState();
    // Locking the window alone still lets the list redraw itself on every row
    // on some systems (Wine: 30 times slower); it is told to wait as well.
    HWND list = ControlNativeHandle(idResultsList);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    LockWindowUpdate(WindowNativeHandle(mainWindowNumber));
    int rowIndex = -1;
    for (int i = 1; i <= state.collectedCount; ++i) {
        std::wstring entry = TextTrimStart(state.collection[static_cast<size_t>(i)]);
        if (!textMode || entryMatchesName(entry, searchText)) addResultRow(entry, ++rowIndex);
        if (KeyHeld(VK_ESCAPE)) break;
    }
    LockWindowUpdate(nullptr);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void runSearch() {
    const bool textMode = ControlText(idCriterionSelector) == textCriterion;
    std::wstring searchText;
    if (textMode) {
        searchText = TextLower(ControlText(idTextField));
        if (searchText.empty()) {
            ShowMessage(L"You haven't specified any text or a file extension.", program().name,
                        MB_OK | MB_ICONEXCLAMATION);
            waitForKeysReleased();
            ControlSetFocus(idTextField);
            return;
        }
        // Checked before the quotes go: a text of quotes alone searches and finds nothing.
        searchText = TextRemove(searchText, L"\"");
    }

    SetForegroundWindow(WindowNativeHandle(mainWindowNumber));
    drainEvents();
    searchDrive() = TextLeft(ControlText(idDriveList), 2);
    clearResults();
    ControlSetState(idTabPanel, 0);
    resetInfoPanel();
    setMainControlsDisabled(1);
    showBusyNotice(L"Scanning " + searchDrive() + L" drive (hold Esc to stop)");

    // Only a drive letter is walked: "\" alone would walk whatever drive is current.
    const std::wstring& drive = searchDrive();
    if (drive.size() == 2 && drive[1] == L':') {
        searchState().nameTest = textMode;
        searchState().nameText = searchText;
        collectFiles(drive + L"\\");
    } else {
        searchState().collectedCount = 0;
    }

    // The person who stopped the walk is still holding Escape: what was found is
    // listed once the key is let go, or the listing would stop at its first row.
    if (searchState().walkStopped) waitForKeysReleased();
    listCollectedEntries(textMode, searchText);

    setMainControlsDisabled(0);
    hideBusyNotice();
    drainEvents();
    updateActionButtons();
    setMainStatus(L"Showing " + TextFromInteger(ControlItemCount(idResultsList)) +
                  L" matches. Files in red are read-only.");
    ControlSetFocus(idResultsList);
}
