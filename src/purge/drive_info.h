#pragma once
// What the program knows of one drive, and the drive list built from it.
#include <string>

enum class Writable { notProbed, no, yes };

struct DriveInfo {
    bool labelRead = false;  // an empty label is still a label
    std::wstring label;
    long long totalBytes = -1;
    long long freeBytes = -1;
    Writable writable = Writable::notProbed;
};

// The one reading, overwritten by every readDriveInfo.
DriveInfo& driveInfo();
void readDriveInfo(const std::wstring& letter);
// Empties the drive list and fills it with every drive whose label can be read, A to Z.
void rebuildDriveList();
// The drive list's text for a reading, such as "C:  (System, 37% free)".
std::wstring driveItemText(wchar_t letter, const DriveInfo& info);
