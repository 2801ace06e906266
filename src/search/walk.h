#pragma once
#include <string>

// Walks the drive at rootPath (such as "C:\") and leaves the files larger than the
// size threshold in the collection, largest first.
void collectFiles(const std::wstring& rootPath);
// Walks one folder (ending in "\") and everything below it; level 0 is the root.
void walkDirectory(const std::wstring& folderPath, int level);
