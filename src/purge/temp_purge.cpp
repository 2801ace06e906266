#include "purge/temp_purge.h"

#include "toolkit/drives.h"
#include "toolkit/file_ops.h"
#include "toolkit/paths.h"

#include <algorithm>

namespace {

std::wstring withBackslash(std::wstring folder) {
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder;
}

// Judged on the folder's text: a whole drive, a share root, Windows, the user's
// own folder, or a folder above them.
bool dangerousPlace(const std::wstring& folder, const std::wstring& windowsFolder) {
    const std::wstring temp = withBackslash(folder);
    // "\" alone, a drive root or a share root would mean a whole drive.
    if (temp == L"\\" || (temp.size() <= 3 && temp.size() >= 2 && temp[1] == L':')) return true;
    if (temp.size() < 3 || (temp[1] != L':' && temp.compare(0, 2, L"\\\\") != 0)) return true;
    // \\server\share\ is the root of a share: four backslashes, nothing below.
    if (temp.compare(0, 2, L"\\\\") == 0 && std::count(temp.begin(), temp.end(), L'\\') <= 4) return true;
    const std::wstring profile = ProfileFolder();
    return PathContains(temp, windowsFolder) || (!profile.empty() && PathContains(temp, profile));
}

// True when the folder or a folder above it is a link (junction or symbolic link).
bool reachedThroughLink(const std::wstring& folder) {
    std::wstring path = withBackslash(folder);
    while (path.size() > 3) {
        path.pop_back();
        if (PathIsLink(path)) return true;
        path = PathFolderPart(path);
    }
    return false;
}

}  // namespace

bool tooDangerousToEmpty(const std::wstring& folder, const std::wstring& windowsFolder) {
    if (dangerousPlace(folder, windowsFolder)) return true;
    // A link leads elsewhere: where it really leads is judged too (TEMP linked to
    // a drive root would otherwise take the whole drive).
    const std::wstring final = PathFinal(folder);
    if (!final.empty()) return dangerousPlace(final, windowsFolder);
    return reachedThroughLink(folder);
}

TempPurgeResult purgeTempFolder(const std::wstring& temp, const std::wstring& windowsFolder) {
    if (tooDangerousToEmpty(temp, windowsFolder)) return TempPurgeResult{};
    const std::wstring final = PathFinal(temp);
    // Never empty: an empty folder text is too dangerous to empty. A share has no
    // letter and no reading, and its gain shows as 0.
    const wchar_t drive = (final.empty() ? temp : final).front();
    const long long freeBefore = DriveRead(drive).freeBytes;
    // Emptied, not removed and made again: a temporary folder that is a link stays
    // the link it is.
    FolderEmpty(temp, L"", removeRecursive | removeForce);
    const long long freeAfter = DriveRead(drive).freeBytes;
    return TempPurgeResult{true, static_cast<double>(freeAfter - freeBefore)};
}
