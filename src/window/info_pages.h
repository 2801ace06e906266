#pragma once
#include <string>
// The tab panel's three pages: the results, and the two web panels.

enum class InfoPage { results = 0, fileType = 1, exactFile = 2 };

// Shown in both panels while their searches load.
extern const wchar_t* const searchingPage;
