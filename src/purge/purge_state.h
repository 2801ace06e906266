#pragma once
// What the purge keeps between the window's events: the move target, written
// only by the move-target commands (move_target.h) and read by the move. The
// program keeps the one instance (Application) and hands it to both.
#include <string>

struct PurgeState {
    std::wstring moveTarget;  // ends in "\" once checked
};
