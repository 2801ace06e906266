#include "toolkit/sort_texts.h"

#include <windows.h>

#include <algorithm>

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

}  // namespace

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
    } else if (descending) {
        std::sort(begin, end, std::greater<std::wstring>());
    } else {
        std::sort(begin, end);
    }
}
