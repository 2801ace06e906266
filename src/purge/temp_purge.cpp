#include "purge/temp_purge.h"

#include "app/program.h"
#include "purge/drive_info.h"
#include "toolkit/file_ops.h"
#include "toolkit/paths.h"
#include "toolkit/text.h"

#include <algorithm>

namespace {

std::wstring withBackslash(std::wstring folder) {
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder;
}

// Judged on the folder's text: a whole drive, a share root, Windows, the user's
// own folder, or a folder above them.
bool dangerousPlace(const std::wstring& folder) {
    const std::wstring temp = withBackslash(folder);
    // "\" alone, a drive root or a share root would mean a whole drive.
    if (temp == L"\\" || (temp.size() <= 3 && temp.size() >= 2 && temp[1] == L':')) return true;
    if (temp.size() < 3 || (temp[1] != L':' && temp.compare(0, 2, L"\\\\") != 0)) return true;
    // \\server\share\ is the root of a share: four backslashes, nothing below.
    if (temp.compare(0, 2, L"\\\\") == 0 && std::count(temp.begin(), temp.end(), L'\\') <= 4) return true;
    const std::wstring profile = ProfileFolder();
    return PathContains(temp, program().windowsFolder) || (!profile.empty() && PathContains(temp, profile));
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

bool tooDangerousToEmpty(const std::wstring& folder) {
    if (dangerousPlace(folder)) return true;
    // A link leads elsewhere: where it really leads is judged too (TEMP linked to
    // a drive root would otherwise take the whole drive).
    const std::wstring final = PathFinal(folder);
    if (!final.empty()) return dangerousPlace(final);
    return reachedThroughLink(folder);
}

TempPurgeResult purgeTempFolder() {
    const std::wstring& temp = program().tempFolder;
    if (tooDangerousToEmpty(temp)) return TempPurgeResult{};
    const std::wstring final = PathFinal(temp);
    const std::wstring drive = TextLeft(final.empty() ? temp : final, 1);
    readDriveInfo(drive);
    const long long freeBefore = driveInfo().freeBytes;
    // Emptied, not removed and made again: a temporary folder that is a link stays
    // the link it is.
    FolderEmpty(temp, L"", removeRecursive | removeForce);
    readDriveInfo(drive);
    const long long freeAfter = driveInfo().freeBytes;
    return TempPurgeResult{true, static_cast<double>(freeAfter - freeBefore)};
}
