#include "toolkit/paths.h"

#include "toolkit/handles.h"

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

size_t afterLeadingQuote(const std::wstring& path) { return !path.empty() && path[0] == L'"' ? 1 : 0; }

}  // namespace

long long PathSize(const std::wstring& path) {
    if (path.empty()) return sizeMissing;
    if ((path.size() == 2 || path.size() == 3) && path[1] == L':') return driveRootSize(path);

    std::wstring query = path;
    while (!query.empty() && isSeparator(query.back())) query.pop_back();
    // A wildcard would make the find call report some other file's size.
    if (query.empty() || query.find_first_of(L"*?") != std::wstring::npos) return sizeMissing;

    WIN32_FIND_DATAW entry;
    FindHandle find(FindFirstFileW(query.c_str(), &entry));
    if (find.valid()) {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return sizeFolder;
        return static_cast<long long>((static_cast<unsigned long long>(entry.nFileSizeHigh) << 32) |
                                      entry.nFileSizeLow);
    }
    if (query.compare(0, 2, L"\\\\") == 0 || query.compare(0, 2, L"..") == 0) return sizeByAttributes(query);
    return sizeMissing;
}

int PathAttributes(const std::wstring& path) {
    if (path.empty()) return -1;
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ? -1 : static_cast<int>(attributes) & attributeMask;
}

int PathSetAttributes(const std::wstring& path, int attributes) {
    return !path.empty() && SetFileAttributesW(path.c_str(), static_cast<DWORD>(attributes)) ? 1 : 0;
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

std::wstring PathExtensionPart(const std::wstring& path) {
    size_t stop = path.find_last_of(L"./\\ ");
    if (stop == std::wstring::npos || path[stop] != L'.' || stop == 0 || isSeparator(path[stop - 1])) return {};
    size_t end = path.find(L'"', stop + 1);
    return path.substr(stop + 1, end == std::wstring::npos ? std::wstring::npos : end - stop - 1);
}
