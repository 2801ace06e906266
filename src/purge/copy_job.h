#pragma once
// One file copy, run where the purge's observer has it run (on a thread of its
// own beside the window): the job is all it reads and writes, atomically where
// the waiting thread reads too.
#include <atomic>
#include <functional>
#include <string>

struct CopyJob {
    std::wstring source, destination;  // the destination: an empty file the caller has claimed
    // Asked on the copy's thread as the copy goes; true stops it.
    std::function<bool()> stopRequested;
    std::atomic<int> percent{0};
    std::atomic<int> succeeded{0};
    std::atomic<int> cancelled{0};
};

// Copies, and returns once both files are closed.
void copyFile(CopyJob& job);
