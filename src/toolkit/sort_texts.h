#pragma once
#include <string>
#include <vector>

// Sorts elements first..last (inclusive) of texts in place.
// options bit 0: descending; bit 1: case-insensitive. Comparison is by 16-bit units.
void SortTexts(std::vector<std::wstring>& texts, int options, int first, int last);
// Ordinal comparison by 16-bit units: negative, 0 or positive.
int TextCompareUnits(const std::wstring& a, const std::wstring& b);
