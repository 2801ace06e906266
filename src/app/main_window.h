#pragma once
#include <string>

extern const wchar_t* const textCriterion;  // "For files with specific text in their name"

// Builds the main window, hidden, with all its controls. False when the window or
// its status bar could not be made.
bool buildMainWindow();
void setMainStatus(const std::wstring& text);
