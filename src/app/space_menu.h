#pragma once
// The menus of the "Folder sizes" page: on a folder (open it, copy its path,
// save every folder's figures) and on the kinds (save every kind's figures).
#include "results/search_results.h"

class MainWindow;

void showFolderMenu(const SearchResults& results, MainWindow& window);
void showKindsMenu(const SearchResults& results, MainWindow& window);
