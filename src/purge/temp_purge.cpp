#include "purge/temp_purge.h"

#include "app/program.h"
#include "purge/drive_info.h"
#include "toolkit/file_ops.h"
#include "toolkit/text.h"

#include <algorithm>

namespace {

// True when `inner` is `outer` or lies below it (both ending in "\").
bool holds(const std::wstring& outer, const std::wstring& inner) {
    return !outer.empty() && TextLower(TextLeft(inner, TextLength(outer))) == TextLower(outer);
}

std::wstring withBackslash(std::wstring folder) {
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder;
}

}  // namespace

bool tooDangerousToEmpty(const std::wstring& folder) {
    const std::wstring temp = withBackslash(folder);
    // "\" alone, a drive root or a share root would mean a whole drive.
    if (temp == L"\\" || (temp.size() <= 3 && temp.size() >= 2 && temp[1] == L':')) return true;
    if (temp.size() < 3 || (temp[1] != L':' && temp.compare(0, 2, L"\\\\") != 0)) return true;
    // \\server\share\ is the root of a share: four backslashes, nothing below.
    if (temp.compare(0, 2, L"\\\\") == 0 && std::count(temp.begin(), temp.end(), L'\\') <= 4) return true;
    // A temporary-files setting that points at Windows or at the user's own
    // folder (or above them) must not take those with it.
    const std::wstring windowsFolder = withBackslash(program().windowsFolder);
    const std::wstring profile = ProfileFolder();
    return holds(temp, windowsFolder) || (!profile.empty() && holds(temp, profile));
}

TempPurgeResult purgeTempFolder() {
    const std::wstring& temp = program().tempFolder;
    if (tooDangerousToEmpty(temp)) return TempPurgeResult{};
    const std::wstring drive = TextLeft(temp, 1);
    readDriveInfo(drive);
    const long long freeBefore = driveInfo().freeBytes;
    FolderRemove(temp, L"", removeRecursive | removeForce);
    FolderMake(temp);
    readDriveInfo(drive);
    const long long freeAfter = driveInfo().freeBytes;
    return TempPurgeResult{true, static_cast<double>(freeAfter - freeBefore)};
}
