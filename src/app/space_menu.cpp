#include "app/space_menu.h"

#include "app/menu_entries.h"
#include "app/save_list.h"

#include "results/space_page.h"
#include "results/totals_csv.h"
#include "toolkit/file_ops.h"
#include "toolkit/person.h"
#include "toolkit/system.h"
#include "toolkit/text.h"
#include "window/main_window.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

// Saved whole or not at all, as the list is; the status says what was written.
void saveCsvAs(MainWindow& window, const std::wstring& title, const std::wstring& suggestedName,
               const std::wstring& kindDescription, const CsvText& csv, const std::wstring& what) {
    const std::optional<SaveChoice> choice = ChooseSaveFile(title, suggestedName, {{kindDescription, L"*.csv"}}, L"csv");
    if (!choice) return;
    writeCsvFile(window, choice->path, csv, what, L"Saved the " + what + L" to " + choice->path + L".");
}

std::wstring driveLetter(const SearchResults& results) {
    const std::wstring drive = TextLeft(results.drive, 1);
    return drive.empty() ? L"the drive" : drive;
}

void saveFolderSizesAs(const SearchResults& results, MainWindow& window) {
    const size_t folders = results.totals.countedFolders().size();
    saveCsvAs(window, L"Save the folder sizes as", L"Folder sizes of " + driveLetter(results) + L".csv",
              L"CSV file, every folder the search saw (*.csv)", folderSizesCsv(results),
              L"sizes of " + countText(static_cast<long long>(folders)) + (folders == 1 ? L" folder" : L" folders"));
}

void saveFileKindsAs(const SearchResults& results, MainWindow& window) {
    saveCsvAs(window, L"Save the file kinds as", L"File kinds of " + driveLetter(results) + L".csv",
              L"CSV file, every kind of file (*.csv)", fileKindsCsv(results.totals), L"file kinds");
}

}  // namespace

void showFolderMenu(const SearchResults& results, MainWindow& window) {
    if (!results.totals.isGathered()) return;
    const std::optional<int> row = window.pageMenuRow(PageList::folders);
    const std::optional<uint32_t> folder =
        row ? folderOfTreeKey(results, window.pageRowKey(PageList::folders, *row)) : std::nullopt;
    const std::wstring path = folder ? shownFolderPath(results, *folder) : std::wstring();
    offerMenu(folder.has_value(),
              {
                  {L"&Open folder", [&] { OpenFolder(path); }, true},
                  {L"Copy &path", [&] { ClipboardSetText(path); }, true},
                  {nullptr, {}, true},
                  {L"Sa&ve folder sizes as\u2026", [&] { saveFolderSizesAs(results, window); }, false},
              },
              [&](const std::vector<std::wstring>& texts) { return window.chooseFromPageMenu(PageList::folders, texts); });
}

void showKindsMenu(const SearchResults& results, MainWindow& window) {
    if (!results.totals.isGathered()) return;
    offerMenu(false, {{L"Sa&ve file kinds as\u2026", [&] { saveFileKindsAs(results, window); }, false}},
              [&](const std::vector<std::wstring>& texts) { return window.chooseFromPageMenu(PageList::kinds, texts); });
}
