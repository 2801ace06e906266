#include "toolkit/sort_texts.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

int compareIgnoringCase(const std::wstring& a, const std::wstring& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        wchar_t x = static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(CharLowerW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(a[i])))));
        wchar_t y = static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(CharLowerW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(b[i])))));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Ordinal comparison four units at a time: the walk's entries share long runs of
// leading blanks and folder names, and a unit-by-unit loop spends its time there.
int compareUnits(const std::wstring& a, const std::wstring& b) {
    const size_t n = std::min(a.size(), b.size());
    const wchar_t* x = a.data();
    const wchar_t* y = b.data();
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        uint64_t chunkA, chunkB;
        std::memcpy(&chunkA, x + i, sizeof chunkA);
        std::memcpy(&chunkB, y + i, sizeof chunkB);
        if (chunkA != chunkB) break;
    }
    for (; i < n; ++i)
        if (x[i] != y[i]) return static_cast<uint16_t>(x[i]) < static_cast<uint16_t>(y[i]) ? -1 : 1;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

int TextCompareUnits(const std::wstring& a, const std::wstring& b) { return compareUnits(a, b); }

void SortTexts(std::vector<std::wstring>& texts, int options, int first, int last) {
    if (first < 0) first = 0;
    if (last >= static_cast<int>(texts.size())) last = static_cast<int>(texts.size()) - 1;
    if (first >= last) return;
    auto begin = texts.begin() + first;
    auto end = texts.begin() + last + 1;
    const bool descending = options & 1;
    if (options & 2) {
        std::sort(begin, end, [descending](const std::wstring& a, const std::wstring& b) {
            int order = compareIgnoringCase(a, b);
            return descending ? order > 0 : order < 0;
        });
    } else {
        std::sort(begin, end, [descending](const std::wstring& a, const std::wstring& b) {
            int order = compareUnits(a, b);
            return descending ? order > 0 : order < 0;
        });
    }
}
