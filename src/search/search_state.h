#pragma once
// What the file search keeps for the whole run.
#include "search/walk.h"
#include "window/criteria.h"

#include <string>
#include <vector>

constexpr int collectionCapacity = 1048576;

struct SearchState {
    // A file is collected when its size is strictly greater than this; the
    // selector starts on its first criterion.
    long long sizeThreshold = criteria[0].threshold;
    bool searchWindowsFolder = false;
    // The Windows folder, lower-cased, ending in "\"; set at start-up.
    std::wstring windowsFolderPrefix;
    int windowsFolderPrefixLength = 0;
    // Entries 1..collectedCount of the last walk, largest first; slot 0 is unused.
    // It grows as files are found and keeps its room for later searches. Past
    // collectionCapacity entries it goes on growing rather than drop a found file.
    std::vector<CollectedEntry> collection;
    int collectedCount = 0;
    // The root and the folder links the entries were reached through.
    std::vector<FoundOrigin> origins;
    // The last walk was ended by Escape rather than by reaching its end.
    bool walkStopped = false;
    // How far the walk under way has come, read by the window as it waits.
    WalkCounts walkCounts;
    // Searches read an NTFS volume's own file table where they may (tests turn it
    // off to compare with the walk).
    bool readVolumeTable = true;
};

SearchState& searchState();

// Sets the Windows folder that walks leave out unless searchWindowsFolder is on.
void setWindowsFolder(const std::wstring& windowsFolder);
