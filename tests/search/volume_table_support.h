#pragma once
// What the fast scan's tests share: a scan and a walk listed alike, and what
// one has that the other has not.
#include "search/search_command.h"
#include "search/match_rules.h"
#include "search/volume_table.h"
#include "search/walk.h"
#include "support/found_texts.h"

#include <map>
#include <string>
#include <tuple>
#include <vector>

struct NeverStop final : WalkObserver {
    bool stopRequested() override { return false; }
};

// Path -> size, last write and entry text. The two links are left out of both:
// ntfs-3g stores them as files with reparse data, which Windows lists as such,
// while the walk under Wine follows them as Linux links.
using Listing = std::map<std::wstring, std::tuple<long long, long long, std::wstring>>;

inline Listing listed(const FoundFiles& found) {
    Listing files;
    for (size_t i = 0; i < found.count(); ++i) {
        const FoundFile& file = found[i];
        const std::wstring path = found.pathOf(file);
        if (path == L"N:\\gone\\file link.txt" || path == L"N:\\gone\\folder link") continue;
        if (path.rfind(L"N:\\.NTFS-3G\\", 0) == 0) continue;  // ntfs-3g's own way to junctions' targets
        files[path] = {file.identity.size, file.identity.lastWrite, foundText(found, file)};
    }
    return files;
}

inline WalkRequest requestFor(const std::wstring& root, long long threshold, const std::wstring& text, bool withWindows) {
    WalkRequest request;
    request.rootPath = root;
    request.sizeThreshold = threshold;
    request.nameTest = !text.empty();
    request.nameText = text;
    if (!withWindows) request.windowsFolderPrefix = L"n:\\windows\\";
    return request;
}

// The entries one listing has and the other has not, or has otherwise: empty when equal.
inline std::vector<std::wstring> differences(const Listing& table, const Listing& walk) {
    std::vector<std::wstring> found;
    for (const auto& [path, file] : table) {
        auto other = walk.find(path);
        if (other == walk.end()) found.push_back(L"only in the table: " + std::get<2>(file));
        else if (other->second != file) found.push_back(L"unlike the walk: " + std::get<2>(file));
    }
    for (const auto& [path, file] : walk)
        if (!table.count(path)) found.push_back(L"only in the walk: " + std::get<2>(file));
    if (found.size() > 12) found.resize(12);
    return found;
}

