#pragma once
// "Save list as…": the listed rows, or the ticked ones only, written to a CSV
// file the person names in the save dialog.
#include "results/list_csv.h"
#include "results/search_results.h"

#include <vector>

class MainWindow;

void saveListAs(const SearchResults& results, MainWindow& window);
// The rows in the order shown (only the ticked ones where asked): size, size text
// and path of each; whether it is read-only is left for the caller to ask.
std::vector<ListedRow> listedRows(const SearchResults& results, const MainWindow& window, bool tickedOnly);
// One found file as the saved list writes it (read-only left unasked).
ListedRow listedRowOf(const SearchResults& results, const FoundFile& file);
// Asks each row's file whether it is read-only, as the list's red does, at the moment of saving.
void markReadOnlyRows(std::vector<ListedRow>& rows);

// Writes the CSV whole to `path`, or tells the person that nothing was written
// there ("The `what` could not be saved as ..."). On success the status says
// `saved` and, where some texts could not be written exactly, how many.
bool writeCsvFile(MainWindow& window, const std::wstring& path, const CsvText& csv, const std::wstring& what,
                  const std::wstring& saved);
