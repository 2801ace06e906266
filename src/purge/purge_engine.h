#pragma once
// Deleting and moving files for good: each file by its exact name and only while
// it is still the file that was found, each move a verified copy under a free
// name before the original goes, taken back when the original stays. It needs no
// window; whoever runs it is told what happens.
#include "toolkit/held_file.h"

#include <functional>
#include <string>
#include <vector>

// A file to act on, as the search found it.
struct PurgeFile {
    std::wstring path;
    FileIdentity identity;
    std::wstring finalPath;    // where it lay then; empty where that cannot be told
    bool sameVolume = true;    // its drive still holds the volume that was searched
    bool onlineOnly = false;   // a cloud placeholder when found
};

struct PurgeJob {
    bool moving = false;
    int deleteFlags = 0;      // removeForce: read-only files go too
    std::wstring moveTarget;  // ends in "\"
    std::vector<PurgeFile> files;
};

// What a purge did: the bytes it freed on the disk, and the files it left and why.
struct PurgeOutcome {
    long long freed = 0;  // the space the removed files held, not their sizes
    int onlineOnly = 0;   // deleted cloud placeholders: they freed nothing here
    int changed = 0;  // no longer the file that was found
    int links = 0;    // links this system cannot remove without reaching what they lead to
    int failed = 0;   // in use, read-only or otherwise refused
};

class PurgeObserver {
public:
    // Asked before each file.
    virtual bool stopRequested() = 0;
    // Asked on the copy's own thread as a copy goes; true stops the copy and the purge.
    virtual bool copyStopRequested() = 0;
    // files[index] is gone from where it was (deleted, or moved into the target),
    // and freed `spaceFreed` on its disk: -1 where other names keep its data, or
    // another program removed it meanwhile.
    virtual void fileRemoved(size_t index, long long spaceFreed) = 0;
    // files[index] stays because it is no longer the file that was found, or a link.
    virtual void fileLeft(size_t index) = 0;
    virtual void status(const std::wstring& text) = 0;
    // A copy runs: its share done in percent (0 again once it has ended). Called
    // on the caller's thread while it waits.
    virtual void progress(int percent) = 0;
    // Runs `work` (a copy) and returns once it has ended, calling `step` often on
    // the caller's thread meanwhile.
    virtual void runAside(const std::function<void()>& work, const std::function<void()>& step) = 0;

protected:
    ~PurgeObserver() = default;
};

// Works through the files in order.
PurgeOutcome purgeFiles(const PurgeJob& job, PurgeObserver& observer);

// The first name in the folder that nothing uses yet: "name.ext", then "name (2).ext", ...
std::wstring freeNameIn(const std::wstring& folder, const std::wstring& fileName);
