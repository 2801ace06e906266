#pragma once
#include <string>

struct TempPurgeResult {
    bool done = false;  // false: the folder was too dangerous to empty and was left alone
    double gain = 0;
};

// Empties the temporary-files folder in place; the gain is the free space won on
// the drive it really lies on.
TempPurgeResult purgeTempFolder(const std::wstring& tempFolder, const std::wstring& windowsFolder);
// True when emptying this folder could take a whole drive, Windows or the user's own files with it.
bool tooDangerousToEmpty(const std::wstring& folder, const std::wstring& windowsFolder);
