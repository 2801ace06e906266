#pragma once
// "Save list as…": the listed rows, or the ticked ones only, written to a CSV
// file the person names in the save dialog.
#include "results/search_results.h"

class MainWindow;

void saveListAs(const SearchResults& results, MainWindow& window);
