#pragma once
// Small helpers of the window's busy state (the state itself, and BusyScope,
// belong to the main window).
#include "toolkit/text.h"

#include <string>

// Takes every pending event without acting on it.
void drainEvents();
