#pragma once
// What the last search found and what the results list shows of it. The search
// fills it; the purge receives it and acts on these files and on no other that
// has taken one's name since. The loop owns the one instance (Application::loop)
// and hands it to both.
#include "results/found_files.h"
#include "results/space_totals.h"

#include <string>
#include <vector>

struct SearchResults {
    std::wstring drive;  // such as "C:", as the search was asked for; empty before the first search
    FoundFiles found;    // largest first
    SpaceTotals totals;  // every folder's and every kind's, of the files the search looked at
    // The walk was ended by Escape rather than by reaching its end.
    bool walkStopped = false;
    bool windowsFolderSearched = false;
    // The kinds in the order the page lists them (by the key of each row).
    std::vector<std::wstring> kindOrder;
    // By the key each row of the results list was shown under (ControlItemKey),
    // the found file it shows: rows that go leave the keys of the others as they were.
    std::vector<size_t> rows;

    // The file a row key shows; nullptr for a key no search listed.
    const FoundFile* fileOfRow(int key) const;
    // The listed file's full path; empty for a key no search listed.
    std::wstring pathOfRow(int key) const;
};
