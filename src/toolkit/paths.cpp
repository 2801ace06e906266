#include "toolkit/paths.h"

#include "toolkit/handles.h"
#include "toolkit/later_calls.h"

#include <cwctype>

namespace {

constexpr int attributeMask = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_COMPRESSED;

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

long long driveRootSize(std::wstring root) {
    if (root.size() == 2) root += L'\\';
    return GetDriveTypeW(root.c_str()) > DRIVE_NO_ROOT_DIR ? sizeFolder : sizeMissing;
}

// Shares and relative paths that a find call cannot see are asked for by attributes.
long long sizeByAttributes(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? sizeFolder : sizeMissing;
    return GetDriveTypeW(path.c_str()) > DRIVE_NO_ROOT_DIR ? sizeFolder : sizeMissing;
}

// Plain when every part after the root is a real name: no "/", no empty, "." or ".." parts.
bool plainParts(const std::wstring& path, size_t from) {
    if (path.find(L'/') != std::wstring::npos) return false;
    size_t start = from;
    while (start < path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        const std::wstring part = path.substr(start, end - start);
        if (part == L"." || part == L".." || (part.empty() && end < path.size())) return false;
        start = end + 1;
    }
    return true;
}

bool sameName(const WIN32_FIND_DATAW& entry, const std::wstring& name) {
    return lstrcmpiW(entry.cFileName, name.c_str()) == 0 || lstrcmpiW(entry.cAlternateFileName, name.c_str()) == 0;
}

size_t afterLeadingQuote(const std::wstring& path) { return !path.empty() && path[0] == L'"' ? 1 : 0; }

}  // namespace

std::wstring PathExactForm(const std::wstring& path) {
    if (path.compare(0, 4, L"\\\\?\\") == 0) return path;
    const bool local = path.size() > 3 && path[1] == L':' && path[2] == L'\\' && iswalpha(path[0]);
    if (local && plainParts(path, 3)) return L"\\\\?\\" + path;
    if (path.compare(0, 2, L"\\\\") == 0 && path.size() > 2 && path[2] != L'.') {
        const size_t share = path.find(L'\\', 2);
        if (share != std::wstring::npos && share > 2 && plainParts(path, share + 1))
            return L"\\\\?\\UNC\\" + path.substr(2);
    }
    return path;
}

std::wstring PathExactPattern(const std::wstring& pattern) {
    return pattern.empty() || pattern == L"*.*" ? L"*" : pattern;
}

long long PathSize(const std::wstring& path) {
    if (path.empty()) return sizeMissing;
    if ((path.size() == 2 || path.size() == 3) && path[1] == L':') return driveRootSize(path);

    std::wstring query = path;
    while (!query.empty() && isSeparator(query.back())) query.pop_back();
    // A wildcard would make the find call report some other file's size.
    if (query.empty() || query.find_first_of(L"*?") != std::wstring::npos) return sizeMissing;

    // Asked by name, not by a find pattern: as a pattern "report." would also
    // match "report".
    const std::wstring exact = PathExactForm(query);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(exact.c_str(), GetFileExInfoStandard, &data)) {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return sizeFolder;
        return static_cast<long long>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    }
    // Files the system keeps open (the page file) refuse that, yet can be listed.
    WIN32_FIND_DATAW entry;
    FindHandle find(FindFirstFileW(exact.c_str(), &entry));
    if (find.valid() && sameName(entry, PathNamePart(query))) {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return sizeFolder;
        return static_cast<long long>((static_cast<unsigned long long>(entry.nFileSizeHigh) << 32) |
                                      entry.nFileSizeLow);
    }
    if (query.compare(0, 2, L"\\\\") == 0 || query.compare(0, 2, L"..") == 0) return sizeByAttributes(query);
    return sizeMissing;
}

namespace {

FileHandle openToRead(const std::wstring& path) {
    // Backup semantics open folders too; no access beyond reading attributes.
    return FileHandle(CreateFileW(PathExactForm(path).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

}  // namespace

PathIdentity PathIdentityOf(const std::wstring& path) {
    FileHandle file = openToRead(path);
    return file.valid() ? IdentityOfHandle(file.get()) : PathIdentity{};
}

unsigned long long PathFileIndex(const std::wstring& path) {
    FileHandle file = openToRead(path);
    return file.valid() ? FileIndexOfHandle(file.get()) : 0;
}

std::wstring PathFinal(const std::wstring& path) {
    if (!getFinalPathNameByHandle()) return {};
    FileHandle file = openToRead(path);
    return file.valid() ? FinalPathOfHandle(file.get()) : std::wstring();
}

int PathAttributes(const std::wstring& path) {
    if (path.empty()) return -1;
    DWORD attributes = GetFileAttributesW(PathExactForm(path).c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ? -1 : static_cast<int>(attributes) & attributeMask;
}

int PathSetAttributes(const std::wstring& path, int attributes) {
    return !path.empty() && SetFileAttributesW(PathExactForm(path).c_str(), static_cast<DWORD>(attributes)) ? 1 : 0;
}

void PathRestoreAttributes(const std::wstring& path, int attributes) {
    PathSetAttributes(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    if (attributes & FILE_ATTRIBUTE_READONLY) PathSetAttributes(path, attributes);
}

unsigned long PathVolumeSerial(const std::wstring& path) {
    const std::wstring final = PathFinal(path);
    const std::wstring& where = final.empty() ? path : final;
    wchar_t root[MAX_PATH + 1] = L"";
    if (!GetVolumePathNameW(where.c_str(), root, MAX_PATH + 1)) return 0;
    DWORD serial = 0;
    if (!GetVolumeInformationW(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) return 0;
    return serial;
}

bool PathIsLink(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(PathExactForm(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool PathContains(const std::wstring& outer, const std::wstring& inner) {
    auto folder = [](const std::wstring& given) {
        std::wstring path = PathAsFolder(given);
        CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
        return path;
    };
    if (outer.empty() || inner.empty()) return false;
    const std::wstring o = folder(outer), i = folder(inner);
    return i.compare(0, o.size(), o) == 0;
}

std::wstring PathAsFolder(std::wstring path) {
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path;
}

std::wstring PathNamePart(const std::wstring& path) {
    size_t start = afterLeadingQuote(path);
    size_t lastSeparator = path.find_last_of(L"\\/");
    if (lastSeparator != std::wstring::npos && lastSeparator >= start) start = lastSeparator + 1;
    size_t end = path.find(L'"', start);
    return path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

std::wstring PathFolderPart(const std::wstring& path) {
    size_t start = afterLeadingQuote(path);
    size_t end = path.find(L'|', start);
    std::wstring searched = path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    size_t lastSeparator = searched.find_last_of(L"\\/");
    return lastSeparator == std::wstring::npos ? std::wstring() : searched.substr(0, lastSeparator + 1);
}

std::wstring PathAbsolute(const std::wstring& path) {
    if (path.empty()) return std::wstring();
    std::wstring whole(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(whole.size()), whole.data(), nullptr);
        if (length == 0) return std::wstring();
        if (length < whole.size()) {
            whole.resize(length);
            return whole;
        }
        whole.assign(length, L'\0');  // the length it needs, its end included
    }
    return std::wstring();
}

std::wstring PathExtensionPart(const std::wstring& path) {
    size_t stop = path.find_last_of(L"./\\ ");
    if (stop == std::wstring::npos || path[stop] != L'.' || stop == 0 || isSeparator(path[stop - 1])) return {};
    size_t end = path.find(L'"', stop + 1);
    return path.substr(stop + 1, end == std::wstring::npos ? std::wstring::npos : end - stop - 1);
}
