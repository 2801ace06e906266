#pragma once
// Deleting and moving files for good: each file by its exact name, each move a
// verified copy under a free name before the original goes, taken back when the
// original stays. It needs no window; whoever runs it is told what happens.
#include <string>
#include <vector>

struct PurgeJob {
    bool moving = false;
    int deleteFlags = 0;     // removeForce: read-only files go too
    std::wstring moveTarget;  // ends in "\"
    std::vector<std::wstring> paths;
};

class PurgeObserver {
public:
    // Asked before each file.
    virtual bool stopRequested() = 0;
    // Asked on the copy's own thread as a copy goes; true stops the copy and the purge.
    virtual bool copyStopRequested() = 0;
    // paths[index] is gone from where it was (deleted, or moved into the target).
    virtual void fileRemoved(size_t index) = 0;
    virtual void status(const std::wstring& text) = 0;
    // A copy runs: its share done in percent (0 again once it has ended). Called
    // on the caller's thread, between waits of a few milliseconds.
    virtual void progress(int percent) = 0;
    virtual void waitBriefly() = 0;

protected:
    ~PurgeObserver() = default;
};

// Works through the paths in order; the bytes freed by the files that went.
long long purgeFiles(const PurgeJob& job, PurgeObserver& observer);

// The first name in the folder that nothing uses yet: "name.ext", then "name (2).ext", ...
std::wstring freeNameIn(const std::wstring& folder, const std::wstring& fileName);
