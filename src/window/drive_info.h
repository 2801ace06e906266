#pragma once
// What the program knows of one drive.
#include <optional>
#include <string>

enum class Writable { notProbed, no, yes };

struct DriveInfo {
    std::optional<std::wstring> label;  // none where it could not be read; an empty label is still a label
    std::optional<long long> totalBytes, freeBytes;  // none where the system did not say
    Writable writable = Writable::notProbed;
};

// The drive named by the first letter of `letter`; a probe file tells whether it is writable.
DriveInfo readDriveInfo(const std::wstring& letter);
// The drive list's text for a reading, such as "C:  (System, 37% free)".
std::wstring driveItemText(wchar_t letter, const DriveInfo& info);
