#include "toolkit/file_ops.h"

#include "toolkit/handles.h"
#include "toolkit/held_file.h"
#include "toolkit/later_calls.h"
#include "toolkit/native.h"
#include "toolkit/numbers.h"
#include "toolkit/paths.h"
#include "toolkit/text.h"

#include <shlobj.h>

#include <algorithm>

namespace {

// Removes a junction or symbolic link to a folder without touching what it points at.
// The link is held as itself and deleted through that handle, but only after the
// handle proves to be the link: some systems (Wine among them) open the target
// instead, and deleting through such a handle would delete the target. When that
// cannot be proved the link stays.
bool removeFolderLink(const std::wstring& path) {
    HeldFile link(path);
    return link.isOpen() && link.isLink() && link.remove(0) == RemoveResult::done;
}

}  // namespace

RemoveResult FileDelete(const std::wstring& path, int flags) {
    if (path.empty()) return RemoveResult::refused;
    HeldFile file(path);
    if (!file.isOpen() || file.isFolder()) return RemoveResult::refused;
    // A link goes as itself, never through to what it leads to: where the system
    // opened the target instead of the link, the file stays.
    if (!file.isLink() && !file.liesAt(FinalPathOfEntry(PathFolderPart(path), PathNamePart(path))))
        return RemoveResult::refused;
    return file.remove(flags);
}

int FileRemove(const std::wstring& path, int flags) { return FileDelete(path, flags) == RemoveResult::done ? 1 : 0; }

int FolderEmpty(const std::wstring& path, const std::wstring& pattern, int flags) {
    if (path.empty()) return 0;
    const std::wstring folder = PathAsFolder(path);

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
    if (original != INVALID_FILE_ATTRIBUTES) PathRestoreAttributes(exact, static_cast<int>(original));
    return 0;
}

int FileReplace(const std::wstring& replacement, const std::wstring& path) {
    return MoveFileExW(PathExactForm(replacement).c_str(), PathExactForm(path).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 1
               : 0;
}

bool FileWriteWhole(const std::wstring& path, const std::string& bytes) {
    // A read-only file is not written over, as Windows refuses it; Wine's rename would not.
    const DWORD existing = GetFileAttributesW(PathExactForm(path).c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        // A new name each try, made only where it is free: never over another file.
        const std::wstring fresh = path + L"." + TextFromInteger(RandomUpTo(99999999)) + L".tmp";
        FileHandle file(CreateFileW(PathExactForm(fresh).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            if (GetLastError() == ERROR_FILE_EXISTS) continue;
            return false;
        }
        bool whole = true;
        for (size_t at = 0; whole && at < bytes.size();) {
            const DWORD asked = static_cast<DWORD>(std::min<size_t>(bytes.size() - at, 1 << 20));
            DWORD written = 0;
            whole = WriteFile(file.get(), bytes.data() + at, asked, &written, nullptr) && written == asked;
            at += written;
        }
        whole = whole && FlushFileBuffers(file.get());
        file.reset();
        if (whole && FileReplace(fresh, path)) return true;
        FileRemove(fresh, removeForce);
        return false;
    }
    return false;
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

std::wstring TempFolderSetting() {
    for (const wchar_t* variable : {L"TMP", L"TEMP"}) {
        wchar_t value[MAX_PATH * 4] = L"";
        const DWORD length = GetEnvironmentVariableW(variable, value, MAX_PATH * 4);
        if (length > 0 && length < MAX_PATH * 4) return value;
    }
    return {};
}

std::wstring CurrentFolder() {
    wchar_t folder[MAX_PATH * 4] = L"";
    const DWORD length = GetCurrentDirectoryW(MAX_PATH * 4, folder);
    if (length == 0 || length >= MAX_PATH * 4) return {};
    return PathAsFolder(folder);
}

namespace {

// Downloads has no old-style number: it is asked by its known-folder id where
// the system has those (Vista and later).
std::wstring downloadsFolder() {
    using KnownFolderCall = HRESULT(WINAPI*)(const GUID&, DWORD, HANDLE, PWSTR*);
    HMODULE shell = GetModuleHandleW(L"shell32.dll");
    const auto call = shell ? reinterpret_cast<KnownFolderCall>(
                                  reinterpret_cast<void*>(GetProcAddress(shell, "SHGetKnownFolderPath")))
                            : nullptr;
    if (!call) return {};
    static const GUID downloads = {0x374de290, 0x123f, 0x4565, {0x91, 0x64, 0x39, 0xc4, 0x92, 0x5e, 0x46, 0x7b}};
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(call(downloads, 0, nullptr, &path)) && path) folder = path;
    CoTaskMemFree(path);
    return folder;
}

}  // namespace

std::vector<KeptFolder> KeptFolders() {
    static const struct {
        int id;
        const wchar_t* name;
    } known[] = {
        {CSIDL_PROFILE, L"your profile folder"},       {CSIDL_DESKTOPDIRECTORY, L"your Desktop folder"},
        {CSIDL_PERSONAL, L"your Documents folder"},    {CSIDL_MYMUSIC, L"your Music folder"},
        {CSIDL_MYPICTURES, L"your Pictures folder"},   {CSIDL_MYVIDEO, L"your Videos folder"},
        {CSIDL_FAVORITES, L"your Favorites folder"},   {CSIDL_APPDATA, L"your AppData folder"},
        {CSIDL_LOCAL_APPDATA, L"your AppData folder"}, {CSIDL_COMMON_DESKTOPDIRECTORY, L"the shared Desktop folder"},
        {CSIDL_COMMON_DOCUMENTS, L"the shared Documents folder"}, {CSIDL_WINDOWS, L"the Windows folder"},
        {CSIDL_SYSTEM, L"the Windows system folder"},  {CSIDL_PROGRAM_FILES, L"a Program Files folder"},
        {CSIDL_PROGRAM_FILESX86, L"a Program Files folder"},
    };
    std::vector<KeptFolder> folders;
    auto keep = [&folders](const std::wstring& path, const wchar_t* name) {
        if (path.empty()) return;
        folders.push_back(KeptFolder{PathAsFolder(path), name});
    };
    for (const auto& folder : known) {
        wchar_t buffer[MAX_PATH] = L"";
        if (SUCCEEDED(SHGetFolderPathW(nullptr, folder.id, nullptr, SHGFP_TYPE_CURRENT, buffer))) keep(buffer, folder.name);
    }
    keep(downloadsFolder(), L"your Downloads folder");
    return folders;
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

bool FolderWritable(const std::wstring& folder) {
    // A name taken by someone else between the check and the creation is
    // refused by the creation, which never replaces a file; a few more draws settle it.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring probe;
        do {
            probe = folder + TextFromInteger(RandomUpTo(99999999));
        } while (PathSize(probe) != sizeMissing);
        if (FileCreateEmpty(probe).known) {
            // A place where files can be made but not removed again is no place to
            // write: every start would leave another probe behind.
            return FileRemove(probe) != 0;
        }
        if (PathSize(probe) == sizeMissing) return false;  // not taken, so it cannot be made
    }
    return false;
}
