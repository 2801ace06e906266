#include "app/results_menu.h"

#include "results/size_text.h"
#include "toolkit/person.h"
#include "toolkit/system.h"
#include "toolkit/text.h"
#include "window/action_buttons.h"
#include "window/main_controls.h"

#include <string>
#include <vector>

namespace {

std::vector<int> selectedRows() {
    std::vector<int> rows;
    const int count = resultRowCount(), selected = selectedRowCount();
    for (int row = 0; row < count && static_cast<int>(rows.size()) < selected; ++row)
        if (isSelected(row)) rows.push_back(row);
    return rows;
}

std::wstring pathAt(const SearchResults& results, int row) {
    return results.pathOfRow(resultRowKey(row));
}

// Lines as the clipboard takes them: Windows line ends.
std::wstring joined(const std::vector<std::wstring>& lines, bool endEachLine) {
    std::wstring text;
    for (size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (endEachLine || i + 1 < lines.size()) text += L"\r\n";
    }
    return text;
}

void copyPaths(const SearchResults& results, const std::vector<int>& rows) {
    std::vector<std::wstring> paths;
    for (int row : rows) paths.push_back(pathAt(results, row));
    if (!paths.empty()) ClipboardSetText(joined(paths, false));
}

// Every row, tab-separated under a header line, so that it pastes into a spreadsheet.
void copyList(const SearchResults& results) {
    std::vector<std::wstring> lines{L"Size in bytes\tSize\tFile"};
    const int count = resultRowCount();
    for (int row = 0; row < count; ++row) {
        const FoundFile* file = results.fileOfRow(resultRowKey(row));
        if (!file) continue;
        lines.push_back(TextFromInteger(file->identity.size) + L"\t" + sizeText(static_cast<double>(file->identity.size)) +
                        L"\t" + results.found.pathOf(*file));
    }
    ClipboardSetText(joined(lines, true));
}

void tickRows(const std::vector<int>& rows, bool ticked) {
    for (int row : rows) setTicked(row, ticked);
    updateActionButtons();
}

}  // namespace

void showResultsMenu(const SearchResults& results) {
    if (resultRowCount() == 0) return;
    const int row = resultMenuRow();
    if (row < 0) {
        if (chooseFromResultsMenu({L"Copy list"}) == 1) copyList(results);
        return;
    }
    std::vector<int> rows = selectedRows();
    if (rows.empty()) rows.push_back(row);
    switch (chooseFromResultsMenu({L"Open containing folder", L"Copy path", L"Copy list", L"Tick", L"Untick"})) {
        case 1: ShowInFolder(pathAt(results, row)); break;
        case 2: copyPaths(results, rows); break;
        case 3: copyList(results); break;
        case 4: tickRows(rows, true); break;
        case 5: tickRows(rows, false); break;
        default: break;
    }
}

void copySelectedPaths(const SearchResults& results) { copyPaths(results, selectedRows()); }
