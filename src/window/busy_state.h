#pragma once
// Small helpers of the window's busy state (the state itself, and BusyScope,
// belong to the main window).
#include <string>

// A count with its thousands grouped: "412,318".
std::wstring countText(long long count);
// Takes every pending event without acting on it.
void drainEvents();
