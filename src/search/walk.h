#pragma once
// The walk over a drive: every file larger than a threshold (in text mode, only
// those whose name holds the text) collected as an entry text, largest first.
// It needs no window; whoever runs it says when to stop.
#include "window/search_results.h"

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

// What a walk has done so far, kept by the walk as it goes and read by whoever
// shows its progress, from another thread.
struct WalkCounts {
    std::atomic<long long> lookedAt{0};  // entries listed
    std::atomic<int> found{0};           // files collected
};

struct WalkRequest {
    std::wstring rootPath;             // such as "C:\"
    long long sizeThreshold = -1;      // a file is collected when it is strictly larger
    bool nameTest = false;             // text mode: only names that hold nameText
    std::wstring nameText;             // lower-cased, quotes removed
    std::wstring windowsFolderPrefix;  // lower-cased, ending in "\"; empty leaves nothing out
    WalkCounts* counts = nullptr;      // kept up to date when given
};

class WalkObserver {
public:
    // Asked once per fetched entry; true ends the walk there.
    virtual bool stopRequested() = 0;

protected:
    ~WalkObserver() = default;
};

// Fills entries 1..collectedCount of the collection (slot 0 unused; slots past the
// count keep old texts whose room is reused) and sorts them largest first, and
// the origins the entries refer to. True when the walk reached its end, false
// when the observer stopped it.
bool walkDrive(const WalkRequest& request, WalkObserver& observer, std::vector<CollectedEntry>& collection,
               int& collectedCount, std::vector<FoundOrigin>& origins);

// Adds a found file as entry count + 1 of the collection, which grows as needed
// and otherwise reuses the room of the text the slot held before. The entry text
// is the size right-aligned in 20 characters, the size text and the full path,
// joined by line feeds.
void collectFile(std::vector<CollectedEntry>& collection, int& count, const std::wstring& folderPath,
                 std::wstring_view name, const FileIdentity& identity, unsigned origin);
// Sorts entries 1..count largest first: the fixed-width size field leads each text.
void sortCollected(std::vector<CollectedEntry>& collection, int count);
