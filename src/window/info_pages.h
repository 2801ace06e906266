#pragma once
#include <string>
// The tab panel's three pages: the results, and the two web panels with their
// resting state (placeholder pages and plain tab titles).

enum class InfoPage { results = 0, fileType = 1, exactFile = 2 };

// Shown in both panels while their searches load.
extern const wchar_t* const searchingPage;

// A page of HTML shown in one of the web panels.
void showPage(InfoPage panel, const std::wstring& html);
// Has one of the web panels load an address.
void openAddress(InfoPage panel, const std::wstring& address);
// The title of one of the information tabs.
void setTabTitle(InfoPage tab, const std::wstring& title);
// Brings a page to the front, and which one is.
void showInfoPage(InfoPage page);
InfoPage shownInfoPage();
// Moves the focus into a web panel's page once it has loaded (at most a few
// seconds: a page that never ends loading must not hold the program).
void focusWebPage(InfoPage panel);

// Both panels back to their placeholder, the tabs to their plain titles and the
// status "Ready.".
void resetInfoPanel();
