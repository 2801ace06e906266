#pragma once
// One file copy on a worker thread. The job belongs to whoever starts it and must
// outlive the copy; the thread reads nothing else.
#include <atomic>
#include <functional>
#include <string>

struct CopyJob {
    std::wstring source, destination;  // the destination: an empty file the caller has claimed
    // Asked on the copy's thread as the copy goes; true stops it.
    std::function<bool()> stopRequested;
    std::atomic<int> percent{0};
    std::atomic<int> done{0};  // the copy call has returned and closed both files
    std::atomic<int> succeeded{0};
    std::atomic<int> cancelled{0};
};

// Starts the copy of a new job; when no thread can be started the job is done at once, failed.
void startCopy(CopyJob& job);
