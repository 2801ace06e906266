#pragma once
// The search command of the window, and the walk as the window runs it.
#include "search/walk.h"
#include "results/search_results.h"

#include <string>

class MainWindow;

// What a search is asked for, read from the window when the person starts it.
struct SearchRequest {
    std::wstring drive;             // such as "C:", as the drive list shows it
    long long sizeThreshold = -1;   // a file is collected when it is strictly larger
    bool textMode = false;          // the name criterion: only names that hold the text
    std::wstring text;              // as typed
    bool searchWindowsFolder = false;
    bool readVolumeTable = true;    // where it may; tests turn it off to compare with the walk
    std::wstring windowsFolder;     // left out unless searchWindowsFolder
};

// Walks the request's drive and lists what it found in the results list; the
// results are written to `results`, whose rows the list shows from then on.
void runSearch(const SearchRequest& request, SearchResults& results, MainWindow& window);
// The walk goes one call deeper per folder level, and a path of 32,767
// characters nests up to 16,000 levels: room for all of them on its thread.
constexpr unsigned long walkStackBytes = 16 * 1024 * 1024;

// Runs the walk as the window does (the volume's own table where it may be read,
// Escape ending it early, the progress counted where the request says) and
// leaves what it found in results.
void collectFiles(WalkRequest request, SearchResults& results);
// The same, ended early where the observer says so instead of by Escape.
void collectFiles(WalkRequest request, SearchResults& results, WalkObserver& observer);
// The walk a request asks for: its drive's root, its criterion and what it leaves out.
WalkRequest walkRequestFor(const SearchRequest& request);
// Shows a row for every found file (the engines found only what matches);
// Escape stops it.
void listFoundFiles(SearchResults& results, MainWindow& window);
// Fills the "Folder sizes" page from the results' totals.
void showSpaceTotals(SearchResults& results, MainWindow& window);
