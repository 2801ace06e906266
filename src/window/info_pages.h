#pragma once
// The two web panels' resting state: placeholder pages and plain tab titles.

constexpr int typeInfoTab = 1, exactInfoTab = 2;

// Shown in both panels while their searches load.
extern const wchar_t* const searchingPage;

// Both panels back to their placeholder, the tabs to their plain titles, the
// delete button off and the status "Ready.".
void resetInfoPanel();
