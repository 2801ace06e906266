#include "purge/temp_purge.h"

#include "toolkit/drives.h"
#include "toolkit/file_ops.h"
#include "toolkit/paths.h"

#include <algorithm>
#include <vector>

namespace {

bool isFullPath(const std::wstring& folder) {
    const bool local = folder.size() >= 3 && folder[1] == L':' && folder[2] == L'\\' &&
                       ((folder[0] >= L'A' && folder[0] <= L'Z') || (folder[0] >= L'a' && folder[0] <= L'z'));
    return local || folder.compare(0, 2, L"\\\\") == 0;
}

// Judged on one form of the folder's path: a whole drive, a share root, a folder
// that the system or the person keeps, or a folder above one.
std::optional<std::wstring> reasonFor(const std::wstring& folder, const std::vector<KeptFolder>& kept) {
    const std::wstring temp = PathAsFolder(folder);
    if (!isFullPath(temp) || temp.find(L'"') != std::wstring::npos) return L"is not a full path to a folder";
    // A drive root or a share root (\\server\share\: four backslashes, nothing below).
    if (temp.size() <= 3 || (temp.compare(0, 2, L"\\\\") == 0 && std::count(temp.begin(), temp.end(), L'\\') <= 4))
        return L"is the root of a whole drive";
    for (const KeptFolder& keep : kept) {
        if (!PathContains(temp, keep.path)) continue;
        return (PathContains(keep.path, temp) ? L"is " : L"holds ") + keep.name;
    }
    return std::nullopt;
}

std::vector<KeptFolder> foldersNotToEmpty(const std::wstring& windowsFolder, const std::wstring& programFolder) {
    std::vector<KeptFolder> kept = KeptFolders();
    kept.push_back(KeptFolder{PathAsFolder(windowsFolder), L"the Windows folder"});
    if (!programFolder.empty()) kept.push_back(KeptFolder{PathAsFolder(programFolder), L"Ravlek's own folder"});
    const std::wstring current = CurrentFolder();
    if (!current.empty()) kept.push_back(KeptFolder{current, L"the current folder"});
    // Each also where it really leads, should one of them be a link.
    for (size_t i = 0, count = kept.size(); i < count; ++i) {
        const std::wstring final = PathFinal(kept[i].path);
        if (!final.empty()) kept.push_back(KeptFolder{PathAsFolder(final), kept[i].name});
    }
    return kept;
}

// True when the folder or a folder above it is a link (junction or symbolic link).
bool reachedThroughLink(const std::wstring& folder) {
    std::wstring path = PathAsFolder(folder);
    while (path.size() > 3) {
        path.pop_back();
        if (PathIsLink(path)) return true;
        path = PathFolderPart(path);
    }
    return false;
}

}  // namespace

std::optional<std::wstring> reasonNotToEmpty(const std::wstring& folder, const std::wstring& windowsFolder,
                                             const std::wstring& programFolder) {
    const std::vector<KeptFolder> kept = foldersNotToEmpty(windowsFolder, programFolder);
    if (std::optional<std::wstring> reason = reasonFor(folder, kept)) return reason;
    // A link leads elsewhere: where it really leads is judged too (TEMP linked to
    // a drive root would otherwise take the whole drive).
    const std::wstring final = PathFinal(folder);
    if (!final.empty()) return reasonFor(final, kept);
    if (reachedThroughLink(folder)) return L"leads through a link to a place that cannot be told";
    return std::nullopt;
}

TempPurgeResult purgeTempFolder(const std::wstring& temp, const std::wstring& windowsFolder,
                                const std::wstring& programFolder) {
    TempPurgeResult result;
    // Named as the person set it: the resolved folder may say nothing ("\" for
    // a setting in quotes), and a relative setting resolves to wherever it is run.
    const std::wstring setting = TempFolderSetting();
    result.folder = setting.empty() ? temp : setting;
    const std::optional<std::wstring> reason = !setting.empty() && !isFullPath(setting)
                                                   ? L"is not a full path to a folder"
                                                   : reasonNotToEmpty(temp, windowsFolder, programFolder);
    if (reason) {
        result.reason = *reason;
        return result;
    }
    const std::wstring final = PathFinal(temp);
    // A share has no letter and no reading, and its gain shows as 0.
    const wchar_t drive = (final.empty() ? temp : final).front();
    const long long freeBefore = DriveRead(drive).freeBytes;
    // Emptied, not removed and made again: a temporary folder that is a link stays
    // the link it is.
    FolderEmpty(temp, L"", removeRecursive | removeForce);
    const long long freeAfter = DriveRead(drive).freeBytes;
    result.done = true;
    result.gain = static_cast<double>(freeAfter - freeBefore);
    return result;
}
