#pragma once
#include <string>
// The tab panel's pages: the results, the folder sizes, and the two web panels,
// each its tab's place.

enum class InfoPage { results = 0, folderSizes = 1, fileType = 2, exactFile = 3 };

// Shown in both panels while their searches load.
extern const wchar_t* const searchingPage;
