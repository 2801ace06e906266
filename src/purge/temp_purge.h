#pragma once
#include <string>

struct TempPurgeResult {
    bool done = false;  // false: the folder was too dangerous to empty and was left alone
    double gain = 0;
};

// Empties the temporary-files folder and makes it again; the gain is the free space won.
TempPurgeResult purgeTempFolder();
// True when emptying this folder could take a whole drive, Windows or the user's own files with it.
bool tooDangerousToEmpty(const std::wstring& folder);
