#include "search/results_list.h"

#include "toolkit/controls.h"
#include "toolkit/paths.h"
#include "window/control_ids.h"
#include "window/found_files.h"
#include "window/main_window.h"

void clearResults() {
    ControlClearItems(idResultsList);
    foundFiles().rows.clear();
}

void addResultRow(const std::wstring& entryText, int rowIndex) {
    size_t firstBreak = entryText.find(L'\n');
    ControlAddItem(idResultsList, -1, firstBreak == std::wstring::npos ? entryText : entryText.substr(firstBreak + 1));
    // A failed query (-1) has bit 0 set too: a file gone since the walk shows red.
    if (PathAttributes(ControlItemText(idResultsList, rowIndex, 1)) & 1)
        ControlSetItemColor(idResultsList, rowIndex, 1, warningRed, 1);
}
