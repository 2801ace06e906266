#include "toolkit/file_ops.h"

#include "toolkit/handles.h"
#include "toolkit/later_calls.h"
#include "toolkit/native.h"
#include "toolkit/paths.h"

#include <shlobj.h>

namespace {

constexpr LONG statusDeletePending = static_cast<LONG>(0xC0000056);

LONG lastNtStatus() {
    using LastStatus = LONG(WINAPI*)();
    static const auto call = reinterpret_cast<LastStatus>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetLastNtStatus")));
    return call ? call() : 0;
}

// After an accepted delete the name stays while another program still holds the
// file open with delete sharing (indexers, players, virus scanners); the file goes
// when they close it. A name that stays while nobody holds the file means the
// delete did not happen (some file systems report success and keep the file).
bool goneOrPending(const std::wstring& exact) {
    FileHandle probe(CreateFileW(exact.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (probe.valid()) return false;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_SHARING_VIOLATION) return true;
    return error == ERROR_ACCESS_DENIED && lastNtStatus() == statusDeletePending;
}

// Removes a junction or symbolic link to a folder without touching what it points at.
// The link is opened as itself and deleted through that handle, but only after the
// handle proves to be the link: some systems (Wine among them) open the target
// instead, and deleting through such a handle would delete the target. When that
// cannot be proved the link stays.
bool removeFolderLink(const std::wstring& path) {
    const auto getInfo = getFileInformationByHandleEx();
    const auto setInfo = setFileInformationByHandle();
    if (!getInfo || !setInfo) return false;

    FileHandle link(CreateFileW(PathExactForm(path).c_str(), DELETE | FILE_READ_ATTRIBUTES,
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

// Hidden and system first, read-only last: some file systems keep the first two
// in a place that a read-only file no longer lets anyone write.
void restoreAttributes(const std::wstring& exact, DWORD original) {
    SetFileAttributesW(exact.c_str(), original & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if (original & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(exact.c_str(), original);
}

}  // namespace

RemoveResult FileDelete(const std::wstring& path, int flags) {
    if (path.empty()) return RemoveResult::refused;
    const std::wstring exact = PathExactForm(path);
    const DWORD original = GetFileAttributesW(exact.c_str());
    if (original == INVALID_FILE_ATTRIBUTES || (original & FILE_ATTRIBUTE_DIRECTORY)) return RemoveResult::refused;
    if (flags & removeForce) SetFileAttributesW(exact.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(exact.c_str())) {
        if (flags & removeForce) restoreAttributes(exact, original);
        return RemoveResult::refused;
    }
    if (goneOrPending(exact)) return RemoveResult::done;
    if (flags & removeForce) restoreAttributes(exact, original);
    return RemoveResult::unconfirmed;
}

int FileRemove(const std::wstring& path, int flags) { return FileDelete(path, flags) == RemoveResult::done ? 1 : 0; }

int FolderEmpty(const std::wstring& path, const std::wstring& pattern, int flags) {
    if (path.empty()) return 0;
    std::wstring folder = path;
    if (folder.back() != L'\\') folder += L'\\';

    WIN32_FIND_DATAW entry;
    FindHandle find(FindFirstFileW((PathExactForm(folder) + PathExactPattern(pattern)).c_str(), &entry));
    if (!find.valid()) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES ? 1 : 0;
    }
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring child = folder + name;
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            FileDelete(child, flags);
        } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            removeFolderLink(child);
        } else if (flags & removeRecursive) {
            FolderRemove(child, pattern, flags);
        }
    } while (FindNextFileW(find.get(), &entry));
    return 1;
}

int FolderRemove(const std::wstring& path, const std::wstring& pattern, int flags) {
    if (!FolderEmpty(path, pattern, flags)) return 0;
    const std::wstring exact = PathExactForm(path);
    const DWORD original = GetFileAttributesW(exact.c_str());
    SetFileAttributesW(exact.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (RemoveDirectoryW(exact.c_str())) return 1;
    // What stays keeps its read-only, hidden or system mark.
    if (original != INVALID_FILE_ATTRIBUTES) restoreAttributes(exact, original);
    return 0;
}

int FileReplace(const std::wstring& replacement, const std::wstring& path) {
    return MoveFileExW(PathExactForm(replacement).c_str(), PathExactForm(path).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 1
               : 0;
}

PathIdentity FileCreateEmpty(const std::wstring& path) {
    FileHandle file(CreateFileW(PathExactForm(path).c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return {};
    // Asked while the file is still open and shared with nobody: the identity is
    // the file just made, not whatever the name leads to a moment later.
    const PathIdentity made = IdentityOfHandle(file.get());
    file.reset();
    // A file that cannot be told apart could not be taken back safely later, and
    // callers go on to another name: it is taken back at once.
    if (!made.known) FileRemove(path);
    return made;
}

int FolderMake(const std::wstring& path) {
    std::wstring folder = path;
    while (!folder.empty() && (folder.back() == L' ' || folder.back() == L'/' || folder.back() == L'\\'))
        folder.pop_back();
    return !folder.empty() && CreateDirectoryW(PathExactForm(folder).c_str(), nullptr) ? 1 : 0;
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

CopyFunction& copyFileCall() {
    static CopyFunction call = CopyFileExW;
    return call;
}

namespace {

DWORD CALLBACK copyProgress(LARGE_INTEGER total, LARGE_INTEGER transferred, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD,
                            HANDLE, HANDLE, LPVOID data) {
    const auto& progress = *static_cast<const std::function<bool(int)>*>(data);
    // An empty file is all there as soon as it exists.
    const int percent = total.QuadPart > 0 ? static_cast<int>(transferred.QuadPart * 100 / total.QuadPart) : 100;
    return progress(percent) ? PROGRESS_CONTINUE : PROGRESS_CANCEL;
}

}  // namespace

unsigned long FileCopy(const std::wstring& source, const std::wstring& destination,
                       const std::function<bool(int percent)>& progress) {
    const std::wstring from = PathExactForm(source), to = PathExactForm(destination);
    void* data = const_cast<std::function<bool(int)>*>(&progress);
    if (copyFileCall()(from.c_str(), to.c_str(), copyProgress, data, nullptr, 0)) return 0;
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_REQUEST_ABORTED;
}
