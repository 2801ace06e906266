#pragma once
// The loop that turns events into commands.
#include "search/criteria.h"
#include "results/search_results.h"

// What the loop keeps between events, owned here.
struct LoopState {
    // Ctrl+A ticks every row, and the next untick them all.
    int tickAllNext = 1;
    // The criterion in force: closing the selector's list on another one chooses it.
    long long chosenThreshold = criteria[0].threshold;
    // What the last search found, handed to the search that replaces it and to
    // every purge; the results list's rows show it.
    SearchResults results;
};
LoopState& loopState();

// Waits for and handles events until the window is asked to close, then returns.
void runEventLoop();
// Handles one event code as the loop does; false when the loop should end.
bool handleEvent(int code);
void dispatchControlEvent(int control, int kind);
void openManual();
