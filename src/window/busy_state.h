#pragma once
// The window's busy state while a search or a purge runs.
#include <string>

// Greys the window's controls (1), or brings them back (0) as the button rule has them.
void setMainControlsDisabled(int flag);
void showBusyNotice(const std::wstring& text);
void hideBusyNotice();
// Takes every pending event without acting on it.
void drainEvents();
