#pragma once
#include <string>

// The drive of the last search, such as "C:".
std::wstring& searchDrive();
void runSearch();
