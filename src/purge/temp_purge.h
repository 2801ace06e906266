#pragma once
#include <optional>
#include <string>

struct TempPurgeResult {
    bool done = false;  // false: the folder was too dangerous to empty and was left alone
    double gain = 0;
    std::wstring folder;  // the folder as the person set it
    std::wstring reason;  // why it was left alone: "is your Documents folder"
};

// Empties the temporary-files folder in place; the gain is the free space won on
// the drive it really lies on.
TempPurgeResult purgeTempFolder(const std::wstring& tempFolder, const std::wstring& windowsFolder,
                                const std::wstring& programFolder);
// Why emptying this folder could take a whole drive, Windows, a program or the
// person's own files with it, in plain words; nothing when it is safe to empty.
std::optional<std::wstring> reasonNotToEmpty(const std::wstring& folder, const std::wstring& windowsFolder,
                                             const std::wstring& programFolder = {});
