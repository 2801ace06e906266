#pragma once
// Which of a list of files are the same bytes: sizes first, then the files of
// one size read side by side, a block of each at a time, the group split where
// their bytes differ. Identical means byte for byte; each file is read once.
// It needs no window; whoever runs it is asked whether to stop and can watch the
// bytes go by.
#include "toolkit/held_file.h"

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

// A listed file, as the search found it.
struct CopyCandidate {
    std::wstring path;
    FileIdentity identity;
    unsigned long volume = 0;  // its volume's serial at the search; 0 if unknown
    bool onlineOnly = false;   // a cloud placeholder when found
};

// How far a comparison has come, written by the comparing thread and read by the waiting one.
struct CompareCounts {
    std::atomic<long long> bytesToCompare{0};
    std::atomic<long long> bytesCompared{0};
};

struct CompareRequest {
    std::vector<CopyCandidate> files;  // in the order listed
    // Two blocks, the first of a set and the one compared with it, stay in a
    // processor's own cache: larger blocks compare more slowly.
    size_t blockBytes = size_t{256} << 10;
    CompareCounts* counts = nullptr;
};

// Identical files, one copy kept: the one made first, the first listed among equals.
struct CopyGroup {
    size_t kept = 0;            // into the request's files
    std::vector<size_t> extra;  // the other copies, in the order listed
};

struct CopiesFound {
    std::vector<CopyGroup> groups;
    long long spaceOfExtras = 0;  // what deleting every extra copy would free on the disk
    int changed = 0;              // no longer the file that was found: left out
    int unreadable = 0;           // could not be opened or read: left out
    int onlineOnly = 0;           // never read, as reading would download them: left out
    bool stopped = false;         // asked to stop: nothing found counts
};

class CompareObserver {
public:
    // Asked between blocks on the comparing thread.
    virtual bool stopRequested() = 0;

protected:
    ~CompareObserver() = default;
};

CopiesFound findIdenticalFiles(const CompareRequest& request, CompareObserver& observer);
