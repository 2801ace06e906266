#pragma once
// Deleting and creating files and folders, and the two special folders the program uses.
#include <string>

constexpr int removeRecursive = 1;
constexpr int removeForce = 2;

// Nonzero only when the file is really gone afterwards. With removeForce a
// read-only file is made normal first; a failed delete restores its attributes.
int FileRemove(const std::wstring& path, int flags = 0);
// Removes the folder's contents (matching pattern, "*.*" when empty) and then the
// folder. Links to folders met inside are never followed. Nonzero when the folder
// itself could be removed.
int FolderRemove(const std::wstring& path, const std::wstring& pattern, int flags);
// Creates one folder level; trailing blanks, "/" and "\" are ignored.
int FolderMake(const std::wstring& path);

std::wstring ProfileFolder();
std::wstring TempFilesFolder();
