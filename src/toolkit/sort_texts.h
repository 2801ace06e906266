#pragma once
#include <string>
#include <vector>

// Sorts elements first..last (inclusive) of texts in place.
// options bit 0: descending; bit 1: case-insensitive. Comparison is by 16-bit units.
void SortTexts(std::vector<std::wstring>& texts, int options, int first, int last);
