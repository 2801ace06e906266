#pragma once
// Deleting and creating files and folders, and the two special folders the program uses.
#include "toolkit/paths.h"

#include <functional>
#include <string>
#include <vector>

constexpr int removeRecursive = 1;
constexpr int removeForce = 2;

enum class RemoveResult {
    refused,      // the system refused: the file is there as before
    done,         // gone, or going as soon as the programs holding it open close it
    unconfirmed,  // the system said yes, yet the file is still there and nobody holds it
};
// Deletes a file by its exact name. With removeForce a read-only file is made
// normal first; a file that stays gets its attributes back.
RemoveResult FileDelete(const std::wstring& path, int flags = 0);
// Nonzero when the delete is done (FileDelete gives RemoveResult::done).
int FileRemove(const std::wstring& path, int flags = 0);
// Removes the folder's contents (matching pattern, "*.*" when empty) and keeps the
// folder. Links to folders met inside are removed as links, never followed.
// Nonzero when the folder could be listed.
int FolderEmpty(const std::wstring& path, const std::wstring& pattern, int flags);
// Removes the folder's contents (matching pattern, "*.*" when empty) and then the
// folder. Links to folders met inside are never followed. Nonzero when the folder
// itself could be removed.
int FolderRemove(const std::wstring& path, const std::wstring& pattern, int flags);
// Puts `replacement` in the place of `path` in one step (the old file goes, or
// nothing changes). Nonzero on success.
int FileReplace(const std::wstring& replacement, const std::wstring& path);
// Writes `bytes` as the whole of the file at `path`: into a new file beside it
// first, which takes the old file's place only once it is written whole, so that
// a failure leaves the old file as it was and no part of the new one. A read-only
// file or a folder at `path` is left alone. False on any failure.
bool FileWriteWhole(const std::wstring& path, const std::string& bytes);
// Makes a new empty file, never over an existing one, and tells which file it is
// (unknown when the name is taken, or the file cannot be made or told apart; such
// a file is not left behind).
PathIdentity FileCreateEmpty(const std::wstring& path);
// True when a new file can be made in the folder (which ends in "\") and removed
// again. The probe file has a random name that was free, is made so that it can
// never replace a file that appeared meanwhile, and is deleted at once.
bool FolderWritable(const std::wstring& folder);
// Copies a file by its exact name onto `destination`, which it writes over.
// `progress` is asked on the calling thread with the share done in percent and
// answers false to stop the copy. 0 when the whole file was copied, else the
// system's error code (a stopped copy gives its own code, never 0).
unsigned long FileCopy(const std::wstring& source, const std::wstring& destination,
                       const std::function<bool(int percent)>& progress);

std::wstring TempFilesFolder();
// The temporary-files folder as the person set it (TMP, else TEMP), letter for
// letter; empty when neither is set.
std::wstring TempFolderSetting();
// The folder relative paths are taken from.
std::wstring CurrentFolder();

// A folder the person or the system keeps, as the system names it, ending in "\".
struct KeptFolder {
    std::wstring path;
    std::wstring name;  // "your Documents folder", "a Program Files folder"
};
// The profile and the person's known folders (Desktop, Documents, Downloads,
// Music, Pictures, Videos, Favorites, AppData), the Windows and system folders and
// the Program Files folders, each as this system has it.
std::vector<KeptFolder> KeptFolders();
