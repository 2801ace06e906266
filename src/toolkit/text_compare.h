#pragma once
// The order of the search's collected entries: texts compared by their 16-bit units.
#include <string>

// Ordinal comparison by 16-bit units: negative, 0 or positive.
int TextCompareUnits(const std::wstring& a, const std::wstring& b);
