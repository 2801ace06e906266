#pragma once
// What the file search keeps for the whole run.
#include "toolkit/paths.h"

#include <deque>
#include <set>
#include <string>
#include <vector>

constexpr int collectionCapacity = 1048576;

struct SearchState {
    // A file is collected when its size is strictly greater than this.
    long long sizeThreshold = 104857600;
    bool searchWindowsFolder = false;
    // In text mode the walk collects only names that contain nameText (lower-cased,
    // quotes removed), so the collection grows with the matches, not the drive.
    bool nameTest = false;
    std::wstring nameText;
    // The Windows folder, lower-cased, ending in "\"; set at start-up.
    std::wstring windowsFolderPrefix;
    int windowsFolderPrefixLength = 0;
    // Entries 1..collectedCount of the last walk, largest first; slot 0 is unused.
    // It grows as files are found and keeps its room for later searches. Past
    // collectionCapacity entries it goes on growing rather than drop a found file.
    std::vector<std::wstring> collection;
    int collectedCount = 0;
    // The last walk was ended by Escape rather than by reaching its end.
    bool walkStopped = false;
    // During a walk: the folders walked so far, and the folder links met and not
    // yet followed. Links are followed after the folders themselves, so that a
    // file is listed under its own folder's path when a link also leads to it.
    std::set<PathIdentity> walkedFolders;
    std::deque<std::wstring> linkedFolders;
};

SearchState& searchState();

// Sets the Windows folder that walks leave out unless searchWindowsFolder is on.
void setWindowsFolder(const std::wstring& windowsFolder);
