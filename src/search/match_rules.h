#pragma once
#include <string>
#include <string_view>

// True when searchText (already lower-cased, quotes removed) occurs in the file name.
bool nameMatches(std::wstring_view name, const std::wstring& searchText);

// True when folderPath lies under the folder whose lower-cased path (ending in "\")
// is lowerPrefix; an empty prefix holds nothing.
bool isInFolder(const std::wstring& folderPath, const std::wstring& lowerPrefix);
// The prefix isInFolder takes for a folder given as the system names it:
// lower-cased, ending in "\".
std::wstring folderPrefixOf(const std::wstring& folder);
