#pragma once
// The results list's context menu and Ctrl+C: the file's folder in the file
// manager, the selected paths or the whole list on the clipboard, ticks for the
// selected rows or for the extra copies of identical files, the list saved to a
// file. Nothing here changes a listed file.
#include "results/search_results.h"

class MainWindow;

// Shows the menu where the list asked for it and carries out the choice.
void showResultsMenu(const SearchResults& results, MainWindow& window);
// The selected rows' full paths on the clipboard, one a line.
void copySelectedPaths(const SearchResults& results, const MainWindow& window);
