#include "app/results_menu.h"

#include "app/save_list.h"
#include "purge/copies_command.h"
#include "results/size_text.h"
#include "toolkit/person.h"
#include "toolkit/system.h"
#include "toolkit/text.h"
#include "window/action_buttons.h"
#include "window/main_controls.h"

#include <functional>
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
    std::vector<int> rows = selectedRows();
    if (rows.empty() && row >= 0) rows.push_back(row);
    struct Entry {
        const wchar_t* text;  // nullptr for a separator
        std::function<void()> act;
        bool needsRow;
    };
    // Every entry has an access key, as Windows menus have.
    const std::vector<Entry> entries{
        {L"&Open containing folder", [&] { ShowInFolder(pathAt(results, row)); }, true},
        {L"Copy &path", [&] { copyPaths(results, rows); }, true},
        {L"Copy &list", [&] { copyList(results); }, false},
        {nullptr, {}, true},
        {L"&Tick", [&] { tickRows(rows, true); }, true},
        {L"&Untick", [&] { tickRows(rows, false); }, true},
        {L"Tick e&xtra copies", [&] { tickExtraCopies(results); }, false},
        {nullptr, {}, false},
        {L"Sa&ve list as\u2026", [&] { saveListAs(results); }, false},
    };
    // Below the rows only what needs no row.
    std::vector<const Entry*> offered;
    std::vector<std::wstring> texts;
    for (const Entry& entry : entries) {
        if (entry.needsRow && row < 0) continue;
        offered.push_back(&entry);
        texts.push_back(entry.text ? entry.text : L"");
    }
    const int chosen = chooseFromResultsMenu(texts);
    if (chosen >= 1 && chosen <= static_cast<int>(offered.size()) && offered[chosen - 1]->act) offered[chosen - 1]->act();
}

void copySelectedPaths(const SearchResults& results) { copyPaths(results, selectedRows()); }
