#pragma once
#include <string>

// The colour of read-only results and of an unusable move target.
constexpr int warningRed = 220;

// Builds the main window, hidden, with all its controls. False when the window or
// its status bar could not be made.
bool buildMainWindow();
void setMainStatus(const std::wstring& text);
