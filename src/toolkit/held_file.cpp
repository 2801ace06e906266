#include "toolkit/held_file.h"

#include "toolkit/handles.h"
#include "toolkit/later_calls.h"
#include "toolkit/paths.h"

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

HANDLE native(const OwnedHandle& handle) { return static_cast<HANDLE>(handle.get()); }

bool basicOf(const OwnedHandle& handle, NativeBasicInformation& basic) {
    return handle && NativeQueryFile(native(handle), nativeBasicInformation, &basic, sizeof basic);
}

bool standardOf(const OwnedHandle& handle, NativeStandardInformation& standard) {
    return handle && NativeQueryFile(native(handle), nativeStandardInformation, &standard, sizeof standard);
}

// A path as compared: letter case ignored, and trailing dots and blanks of each
// name dropped, as Wine drops them from the final path it reports.
std::wstring comparable(const std::wstring& path) {
    std::wstring text;
    text.reserve(path.size());
    for (wchar_t c : path) {
        if (c == L'\\')
            while (!text.empty() && (text.back() == L'.' || text.back() == L' ')) text.pop_back();
        text += c;
    }
    while (!text.empty() && (text.back() == L'.' || text.back() == L' ')) text.pop_back();
    if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

}  // namespace

HeldFile::HeldFile(const std::wstring& path) : exact_(PathExactForm(path)) {
    if (path.empty()) return;
    // The right to delete is taken now: the delete goes through this handle. (Not
    // the right to write attributes: Wine refuses that for a read-only file.)
    handle_ = OwnedHandle(CreateFileW(exact_.c_str(), DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!handle_) return;
    NativeStandardInformation standard{};
    NativeBasicInformation basic{};
    if (standardOf(handle_, standard)) {
        folder_ = standard.directory;
        links_ = standard.numberOfLinks;
        identity_.size = standard.endOfFile.QuadPart;
        allocation_ = standard.allocationSize.QuadPart;
    }
    if (basicOf(handle_, basic)) {
        attributes_ = basic.attributes;
        link_ = (basic.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        identity_.lastWrite = basic.lastWriteTime.QuadPart;
    }
    identity_.index = FileIndexOfHandle(native(handle_));
}

bool HeldFile::isFolder() const { return folder_; }

bool HeldFile::isLink() const { return link_; }

bool HeldFile::isOnlyName() const { return links_ <= 1; }

bool HeldFile::isOnlineOnly() const { return (attributes_ & onlineOnlyAttributes) != 0; }

long long HeldFile::spaceHeld() const {
    if (isOnlineOnly()) return 0;
    return spaceOnDisk(identity_.size, allocation_);
}

bool HeldFile::matches(const FileIdentity& found) const {
    if (!handle_) return false;
    if (found.index && identity_.index && found.index != identity_.index) return false;
    return identity_.size == found.size && identity_.lastWrite == found.lastWrite;
}

std::wstring HeldFile::finalPath() const { return handle_ ? FinalPathOfHandle(native(handle_)) : std::wstring(); }

bool HeldFile::liesAt(const std::wstring& expected) const {
    if (expected.empty()) return true;
    const std::wstring final = finalPath();
    return final.empty() || comparable(final) == comparable(expected);
}

RemoveResult HeldFile::remove(int flags) {
    if (!handle_) return RemoveResult::refused;
    const bool readOnly = (attributes_ & FILE_ATTRIBUTE_READONLY) != 0;
    // By name, but only once the caller has checked that the name leads to this
    // file; an attribute is all that could reach another.
    const bool forced = (flags & removeForce) && readOnly && PathSetAttributes(exact_, FILE_ATTRIBUTE_NORMAL);
    BOOLEAN deleteFile = TRUE;
    const bool accepted = NativeSetFile(native(handle_), nativeDispositionInformation, &deleteFile, sizeof deleteFile);
    if (!accepted && forced) PathRestoreAttributes(exact_, static_cast<int>(attributes_));
    // The file goes when the last handle to it closes: this one now, or those of
    // programs that hold it open with delete sharing, later.
    handle_.reset();
    if (!accepted) return RemoveResult::refused;
    if (goneOrPending(exact_)) return RemoveResult::done;
    if (forced) PathRestoreAttributes(exact_, static_cast<int>(attributes_));
    return RemoveResult::unconfirmed;
}

std::wstring FinalPathOfEntry(const std::wstring& folder, const std::wstring& name) {
    const std::wstring final = PathFinal(folder);
    return final.empty() ? std::wstring() : PathAsFolder(final) + name;
}

FolderHold::FolderHold(const std::wstring& folder) : folder_(folder) {
    // Shared with everything but a delete, which a rename of the folder needs too.
    handle_ = OwnedHandle(CreateFileW(PathExactForm(folder).c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

bool FolderHold::removeOwnFile(const std::wstring& name, const PathIdentity& made) {
    if (!handle_) return PathIdentityOf(folder_ + name) == made && FileRemove(folder_ + name, removeForce) != 0;
    FileHandle file(NativeOpenIn(native(handle_), name, DELETE | FILE_READ_ATTRIBUTES));
    // Opened inside the held folder, so on its volume: the index tells the file.
    // (Wine cannot tell the volume of a file whose folder was moved under it.)
    if (!file.valid() || !made.known || FileIndexOfHandle(file.get()) != made.index) return false;
    BOOLEAN deleteFile = TRUE;
    return NativeSetFile(file.get(), nativeDispositionInformation, &deleteFile, sizeof deleteFile);
}
