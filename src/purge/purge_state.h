#pragma once
// What the purge actions keep between the window's events.
#include <string>

struct PurgeState {
    std::wstring moveTarget;      // ends in "\" once checked
    bool purgeTempFiles = false;  // the temporary-files option
};

PurgeState& purgeState();
