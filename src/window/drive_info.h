#pragma once
// What the program knows of one drive.
#include <string>

enum class Writable { notProbed, no, yes };

struct DriveInfo {
    bool labelRead = false;  // an empty label is still a label
    std::wstring label;
    long long totalBytes = -1;
    long long freeBytes = -1;
    Writable writable = Writable::notProbed;
};

// The drive named by the first letter of `letter`; a probe file tells whether it is writable.
DriveInfo readDriveInfo(const std::wstring& letter);
// The drive list's text for a reading, such as "C:  (System, 37% free)".
std::wstring driveItemText(wchar_t letter, const DriveInfo& info);
