#include "app/save_list.h"

#include "results/list_csv.h"
#include "results/size_text.h"
#include "toolkit/file_attributes.h"
#include "toolkit/file_ops.h"
#include "toolkit/paths.h"
#include "toolkit/person.h"
#include "toolkit/text.h"
#include "window/key_waits.h"
#include "window/main_window.h"

#include <vector>

namespace {

enum SavedRows { everyRow = 0, tickedRowsOnly = 1 };

}  // namespace

ListedRow listedRowOf(const SearchResults& results, const FoundFile& file) {
    ListedRow listed;
    listed.bytes = file.identity.size;
    listed.sizeText = sizeText(static_cast<double>(file.identity.size));
    listed.path = results.found.pathOf(file);
    return listed;
}

std::vector<ListedRow> listedRows(const SearchResults& results, const MainWindow& window, bool tickedOnly) {
    std::vector<ListedRow> rows;
    const int count = window.rowCount();
    for (int row = 0; row < count; ++row) {
        if (tickedOnly && !window.isTicked(row)) continue;
        const FoundFile* file = results.fileOfRow(window.rowKey(row));
        if (file) rows.push_back(listedRowOf(results, *file));
    }
    return rows;
}

void markReadOnlyRows(std::vector<ListedRow>& rows) {
    for (ListedRow& row : rows) {
        const int attributes = PathAttributes(row.path);
        row.readOnly = attributes != attributesUnknown && (attributes & attributeReadOnly) != 0;
    }
}

void saveListAs(const SearchResults& results, MainWindow& window) {
    const std::wstring drive = TextLeft(results.drive, 1);
    const std::optional<SaveChoice> choice =
        ChooseSaveFile(L"Save the list as", L"Files found on " + (drive.empty() ? L"the drive" : drive) + L".csv",
                       {{L"CSV file, every listed row (*.csv)", L"*.csv"},
                        {L"CSV file, the ticked rows only (*.csv)", L"*.csv"}},
                       L"csv");
    if (!choice) return;
    std::vector<ListedRow> rows = listedRows(results, window, choice->kind == tickedRowsOnly);
    markReadOnlyRows(rows);
    writeCsvFile(window, choice->path, csvOfRows(rows), L"list",
                 L"Saved " + TextFromInteger(static_cast<long long>(rows.size())) +
                     (rows.size() == 1 ? L" row to " : L" rows to ") + choice->path + L".");
}

bool writeCsvFile(MainWindow& window, const std::wstring& path, const CsvText& csv, const std::wstring& what,
                  const std::wstring& saved) {
    const std::optional<std::string> bytes = csv.bytes();
    if (!bytes || !FileWriteWhole(path, *bytes)) {
        window.tell(L"The " + what + L" could not be saved as " + path + L". Nothing was written there.", messageStop);
        return false;
    }
    const int marked = csv.marked();
    window.setStatus(saved + (marked == 0 ? L""
                                          : L" " + countText(marked) + (marked == 1 ? L" name holds" : L" names hold") +
                                                L" a character UTF-8 cannot write: written as <U+...> in its place."));
    return true;
}
