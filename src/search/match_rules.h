#pragma once
#include <string>

// The size threshold a criterion stands for; -1 (every file) for the name criterion.
long long thresholdForCriterion(const std::wstring& criterionText);

// True when searchText (already lower-cased, quotes removed) occurs in the file name.
bool nameMatches(std::wstring name, const std::wstring& searchText);
// The same test on a collected entry's file name.
bool entryMatchesName(const std::wstring& entryText, const std::wstring& searchText);

// True when folderPath lies in the Windows folder (the prefix test the walk makes).
bool isInWindowsFolder(const std::wstring& folderPath);
