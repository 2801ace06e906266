#pragma once
// The search command of the window, and the walk as the window runs it.
#include <string>

void runSearch();
// Walks the drive at rootPath (such as "C:\") with the search state's criterion and
// options, Escape ending it early, and leaves what it found in the collection.
// In text mode only names that hold nameText (lower-cased, quotes removed) count.
void collectFiles(const std::wstring& rootPath, bool nameTest = false, const std::wstring& nameText = L"");
// Adds a row for every collected entry that matches, with drawing suspended; Escape stops it.
void listCollectedEntries(bool textMode, const std::wstring& searchText);
