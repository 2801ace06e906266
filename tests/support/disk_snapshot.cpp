#include "support/disk_snapshot.h"

#include "toolkit/handles.h"
#include "toolkit/paths.h"

#include <windows.h>

#include <algorithm>

namespace {

uint64_t hashOf(const std::wstring& path) {
    FileHandle file(CreateFileW(PathExactForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    uint64_t hash = 1469598103934665603ULL;  // FNV-1a
    if (!file.valid()) return 0;
    static unsigned char buffer[1 << 16];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        for (DWORD i = 0; i < got; ++i) hash = (hash ^ buffer[i]) * 1099511628211ULL;
    return hash;
}

void walk(const std::wstring& folder, Snapshot& snap) {
    WIN32_FIND_DATAW entry;
    FindHandle find(FindFirstFileW((PathExactForm(folder) + L"*").c_str(), &entry));
    if (!find.valid()) return;
    do {
        std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        std::wstring path = folder + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            walk(path + L"\\", snap);
        } else {
            long long size = static_cast<long long>((static_cast<unsigned long long>(entry.nFileSizeHigh) << 32) |
                                                    entry.nFileSizeLow);
            snap[path] = FileRecord{size, hashOf(path)};
        }
    } while (FindNextFileW(find.get(), &entry));
}

}  // namespace

Snapshot snapshot(const std::vector<std::wstring>& folders) {
    Snapshot snap;
    for (const auto& folder : folders) walk(folder, snap);
    return snap;
}

std::vector<FileRecord> contents(const Snapshot& snap) {
    std::vector<FileRecord> all;
    for (const auto& [path, record] : snap) all.push_back(record);
    std::sort(all.begin(), all.end());
    return all;
}
