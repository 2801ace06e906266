#include "toolkit/file_ops.h"

#include "toolkit/handles.h"

#include <shlobj.h>

namespace {

bool stillThere(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

using GetInfoByHandleEx = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
using SetInfoByHandle = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);

// Removes a junction or symbolic link to a folder without touching what it points at.
// The link is opened as itself and deleted through that handle, but only after the
// handle proves to be the link: some systems (Wine among them) open the target
// instead, and deleting through such a handle would delete the target. When that
// cannot be proved the link stays.
bool removeFolderLink(const std::wstring& path) {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto getInfo = reinterpret_cast<GetInfoByHandleEx>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "GetFileInformationByHandleEx")));
    auto setInfo = reinterpret_cast<SetInfoByHandle>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetFileInformationByHandle")));
    if (!getInfo || !setInfo) return false;

    FileHandle link(CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!link.valid()) return false;
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (!getInfo(link.get(), FileAttributeTagInfo, &tag, sizeof tag)) return false;
    if (!(tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return setInfo(link.get(), FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

void removeFile(const std::wstring& path, int flags) {
    if (flags & removeForce) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

}  // namespace

int FileRemove(const std::wstring& path, int flags) {
    if (path.empty()) return 0;
    DWORD original = GetFileAttributesW(path.c_str());
    if (original == INVALID_FILE_ATTRIBUTES || (original & FILE_ATTRIBUTE_DIRECTORY)) return 0;
    if (flags & removeForce) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    // Some file systems report a delete as done and keep the file: only a file
    // that is really gone counts as removed.
    if (DeleteFileW(path.c_str()) && !stillThere(path)) return 1;
    if (flags & removeForce) SetFileAttributesW(path.c_str(), original);
    return 0;
}

int FolderRemove(const std::wstring& path, const std::wstring& pattern, int flags) {
    if (path.empty()) return 0;
    std::wstring folder = path;
    if (folder.back() != L'\\' && folder.size() < MAX_PATH) folder += L'\\';

    WIN32_FIND_DATAW entry;
    FindHandle find(FindFirstFileW((folder + (pattern.empty() ? L"*.*" : pattern)).c_str(), &entry));
    if (!find.valid()) {
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_NO_MORE_FILES) return 0;
    } else {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = folder + name;
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                removeFile(child, flags);
            } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                removeFolderLink(child);
            } else if (flags & removeRecursive) {
                FolderRemove(child, pattern, flags);
            }
        } while (FindNextFileW(find.get(), &entry));
        find.reset();
    }
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryW(folder.c_str()) ? 1 : 0;
}

int FolderMake(const std::wstring& path) {
    std::wstring folder = path;
    while (!folder.empty() && (folder.back() == L' ' || folder.back() == L'/' || folder.back() == L'\\'))
        folder.pop_back();
    return !folder.empty() && CreateDirectoryW(folder.c_str(), nullptr) ? 1 : 0;
}

std::wstring ProfileFolder() {
    wchar_t buffer[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, buffer)) || !buffer[0])
        return {};
    std::wstring folder = buffer;
    if (folder.back() != L'\\') folder += L'\\';
    return folder;
}

std::wstring TempFilesFolder() {
    wchar_t shortForm[MAX_PATH + 1] = L"";
    if (!GetTempPathW(MAX_PATH + 1, shortForm)) return {};
    wchar_t longForm[1024] = L"";
    DWORD length = GetLongPathNameW(shortForm, longForm, 1024);
    if (length == 0 || length >= 1024) return {};
    return longForm;
}
