#pragma once
#include <string>

// The drive of the last search, such as "C:".
std::wstring& searchDrive();
void runSearch();
// Adds a row for every collected entry that matches, with drawing suspended; Escape stops it.
void listCollectedEntries(bool textMode, const std::wstring& searchText);
