#pragma once
// What the system tells about a drive letter.
#include <string>

struct DriveReading {
    bool present = false;    // the letter leads to a drive
    bool labelRead = false;  // an empty label is still a label
    std::wstring label;
    long long totalBytes = -1;  // -1: unknown
    long long freeBytes = -1;   // free to this user; -1: unknown
};

// The drive at a letter A to Z (either case); nothing present for any other letter.
DriveReading DriveRead(wchar_t letter);
