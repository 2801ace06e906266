#pragma once
// The window's busy state while a search or a purge runs.
#include <string>

void setMainControlsDisabled(int flag);
void showBusyNotice(const std::wstring& text);
void hideBusyNotice();
// Takes every pending event without acting on it.
void drainEvents();
