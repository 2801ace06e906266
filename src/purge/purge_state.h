#pragma once
// What the purge commands keep between the window's events.
#include <string>

struct PurgeState {
    std::wstring moveTarget;  // ends in "\" once checked
};

PurgeState& purgeState();
