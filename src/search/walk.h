#pragma once
// The walk over a drive: every file larger than a threshold (in text mode, only
// those whose name holds the text) collected as a found file, largest first.
// It needs no window; whoever runs it says when to stop.
#include "results/found_files.h"
#include "results/space_totals.h"

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
    // Where given, every file looked at is counted in its folder and its kind
    // (the root's own tree only: links add nothing there).
    SpaceTotals* totals = nullptr;
    // An NTFS volume's own file table is read where it may be (tests turn it off
    // to compare with the walk).
    bool readVolumeTable = true;
};

class WalkObserver {
public:
    // Asked once per fetched entry; true ends the walk there.
    virtual bool stopRequested() = 0;

protected:
    ~WalkObserver() = default;
};

// How a walk ended.
enum class WalkEnd { reachedTheEnd, stopped };

// Empties `found`, walks the request's root and sorts what it found largest first.
WalkEnd walkDrive(const WalkRequest& request, WalkObserver& observer, FoundFiles& found);
// Walks the request's root and adds what it finds to `found`, its origins among
// it, unsorted: for a walk that continues a scan. `rootFolder` is the found
// folder the root already is; noFolder adds it by its whole path.
WalkEnd walkInto(const WalkRequest& request, WalkObserver& observer, FoundFiles& found,
                 uint32_t rootFolder = FoundFiles::noFolder);
