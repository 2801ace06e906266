#include "toolkit/text_compare.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

// Four units at a time: the walk's entries share long runs of
// leading blanks and folder names, and a unit-by-unit loop spends its time there.
int TextCompareUnits(const std::wstring& a, const std::wstring& b) {
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
