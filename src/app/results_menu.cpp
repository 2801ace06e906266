#include "app/results_menu.h"

#include "app/menu_entries.h"
#include "app/save_list.h"
#include "purge/copies_command.h"
#include "toolkit/person.h"
#include "toolkit/system.h"
#include "toolkit/text.h"
#include "window/main_window.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<int> selectedRows(const MainWindow& window) {
    std::vector<int> rows;
    const int count = window.rowCount(), selected = window.selectedRowCount();
    for (int row = 0; row < count && static_cast<int>(rows.size()) < selected; ++row)
        if (window.isSelected(row)) rows.push_back(row);
    return rows;
}

std::wstring pathAt(const SearchResults& results, const MainWindow& window, int row) {
    return results.pathOfRow(window.rowKey(row));
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

void copyPaths(const SearchResults& results, const MainWindow& window, const std::vector<int>& rows) {
    std::vector<std::wstring> paths;
    for (int row : rows) paths.push_back(pathAt(results, window, row));
    if (!paths.empty()) ClipboardSetText(joined(paths, false));
}

// Every row, tab-separated under a header line, so that it pastes into a spreadsheet.
void copyList(const SearchResults& results, const MainWindow& window) {
    std::vector<std::wstring> lines{L"Size in bytes\tSize\tFile"};
    for (const ListedRow& row : listedRows(results, window, false))
        lines.push_back(TextFromInteger(row.bytes) + L"\t" + row.sizeText + L"\t" + row.path);
    ClipboardSetText(joined(lines, true));
}

void tickRows(MainWindow& window, const std::vector<int>& rows, bool ticked) {
    for (int row : rows) window.setTicked(row, ticked);
    window.updateActionButtons();
}

}  // namespace

void showResultsMenu(const SearchResults& results, MainWindow& window) {
    if (window.rowCount() == 0) return;
    const std::optional<int> row = window.menuRow();
    std::vector<int> rows = selectedRows(window);
    if (rows.empty() && row) rows.push_back(*row);
    // Every entry has an access key, as Windows menus have.
    const std::vector<MenuEntry> entries{
        {L"&Open containing folder", [&] { ShowInFolder(pathAt(results, window, *row)); }, true},
        {L"Copy &path", [&] { copyPaths(results, window, rows); }, true},
        {L"Copy &list", [&] { copyList(results, window); }, false},
        {nullptr, {}, true},
        {L"&Tick", [&] { tickRows(window, rows, true); }, true},
        {L"&Untick", [&] { tickRows(window, rows, false); }, true},
        {L"Tick e&xtra copies", [&] { tickExtraCopies(results, window); }, false},
        {nullptr, {}, false},
        {L"Sa&ve list as\u2026", [&] { saveListAs(results, window); }, false},
    };
    offerMenu(row.has_value(), entries,
              [&](const std::vector<std::wstring>& texts) { return window.chooseFromMenu(texts); });
}

void copySelectedPaths(const SearchResults& results, const MainWindow& window) {
    copyPaths(results, window, selectedRows(window));
}
