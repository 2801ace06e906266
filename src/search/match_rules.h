#pragma once
#include <string>
#include <string_view>

// True when searchText (already lower-cased, quotes removed) occurs in the file name.
bool nameMatches(std::wstring_view name, const std::wstring& searchText);

// True when folderPath lies under the folder whose lower-cased path (ending in "\")
// is lowerPrefix; an empty prefix holds nothing.
bool isInFolder(const std::wstring& folderPath, const std::wstring& lowerPrefix);
// True when folderPath lies in the Windows folder the search leaves out.
bool isInWindowsFolder(const std::wstring& folderPath);
