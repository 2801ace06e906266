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
