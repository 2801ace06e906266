#pragma once
#include <string>
// The two web panels' resting state: placeholder pages and plain tab titles.

constexpr int typeInfoTab = 1, exactInfoTab = 2;

// Shown in both panels while their searches load.
extern const wchar_t* const searchingPage;

// A page of HTML shown in one of the web panels (idTypeInfoPanel, idExactInfoPanel).
void showPage(int panel, const std::wstring& html);
// The title of one of the information tabs (typeInfoTab, exactInfoTab).
void setTabTitle(int tab, const std::wstring& title);

// Both panels back to their placeholder, the tabs to their plain titles and the
// status "Ready.".
void resetInfoPanel();
