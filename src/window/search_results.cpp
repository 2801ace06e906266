#include "window/search_results.h"

#include "toolkit/paths.h"
#include "toolkit/text.h"

FoundOrigin originAt(const std::wstring& listedPrefix, const std::wstring& finalPath) {
    FoundOrigin origin;
    origin.listedPrefix = listedPrefix;
    origin.finalPrefix = finalPath;
    if (!origin.finalPrefix.empty() && origin.finalPrefix.back() != L'\\') origin.finalPrefix += L'\\';
    origin.volume = PathVolumeSerial(listedPrefix);
    return origin;
}

const CollectedEntry* SearchResults::entryOfRow(int key) const {
    if (key < 0 || static_cast<size_t>(key) >= rows.size()) return nullptr;
    const int entry = rows[static_cast<size_t>(key)];
    if (entry < 1 || entry > collectedCount) return nullptr;
    return &collection[static_cast<size_t>(entry)];
}

std::wstring SearchResults::pathOfRow(int key) const {
    const CollectedEntry* entry = entryOfRow(key);
    return entry ? entryLine(entry->text, 2) : std::wstring();
}

std::wstring entryLine(const std::wstring& entry, int line) { return TextField(entry, line + 1, L"\n"); }

std::wstring expectedFinalPath(const FoundOrigin& origin, const std::wstring& listedPath) {
    const size_t prefix = origin.listedPrefix.size();
    if (origin.finalPrefix.empty() || listedPath.size() < prefix ||
        TextLower(listedPath.substr(0, prefix)) != TextLower(origin.listedPrefix))
        return {};
    return origin.finalPrefix + listedPath.substr(prefix);
}
