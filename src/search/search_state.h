#pragma once
// What the search keeps for the whole run, owned here: the folder walks leave
// out, the progress of the walk under way, and the test switch for the fast scan.
// The criterion and options of a search come with its request; what it found
// goes to the caller's SearchResults.
#include "search/walk.h"

#include <string>

struct SearchState {
    // The Windows folder, lower-cased, ending in "\"; set at start-up.
    std::wstring windowsFolderPrefix;
    int windowsFolderPrefixLength = 0;
    // How far the walk under way has come, read by the window as it waits.
    WalkCounts walkCounts;
    // Searches read an NTFS volume's own file table where they may (tests turn it
    // off to compare with the walk).
    bool readVolumeTable = true;
};

SearchState& searchState();

// Sets the Windows folder that walks leave out unless the request asks for it.
void setWindowsFolder(const std::wstring& windowsFolder);
