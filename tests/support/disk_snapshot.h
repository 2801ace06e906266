#pragma once
// Every file below some folders, with its size and a hash of its contents, so
// that a test can tell exactly which files a purge moved, kept or deleted.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct FileRecord {
    long long size;
    uint64_t hash;
    bool operator==(const FileRecord&) const = default;
    bool operator<(const FileRecord& o) const { return size != o.size ? size < o.size : hash < o.hash; }
};

using Snapshot = std::map<std::wstring, FileRecord>;

Snapshot snapshot(const std::vector<std::wstring>& folders);
// The file records, without their paths: what is there, wherever it is.
std::vector<FileRecord> contents(const Snapshot& snap);
