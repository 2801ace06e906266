#pragma once
// One file copy on a worker thread, with a progress bar and Escape to cancel.
#include <windows.h>

#include <atomic>
#include <string>

struct CopyState {
    std::wstring copySource, copyDest;
    std::atomic<int> copyCancelled{0};
    std::atomic<int> copyPercent{0};
    std::atomic<int> copyDone{0};       // the copy call has returned
    std::atomic<int> copySucceeded{0};
    std::atomic<DWORD> copyError{0};
};

CopyState& copyState();

// The copy call, CopyFileExW unless a test scripts it.
using CopyFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, LPPROGRESS_ROUTINE, LPVOID, LPBOOL, DWORD);
CopyFunction& copyFileCall();

// Starts copying onto the destination, an empty file the caller has claimed.
void startCopy(const std::wstring& source, const std::wstring& destination);
// Waits, dispatching window events, until the copy call has returned.
void waitForCopy();

DWORD CALLBACK copyProgress(LARGE_INTEGER total, LARGE_INTEGER transferred, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD,
                            HANDLE, HANDLE, LPVOID);
