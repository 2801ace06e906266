#pragma once
// What the program keeps while it runs, made once at start-up and handed down to
// the loop and from it to each command: the main window, what the loop keeps
// between events (the search's results among it) and the move target.
#include "app/space_map_view.h"
#include "purge/purge_state.h"
#include "results/search_results.h"
#include "search/criteria.h"
#include "window/main_window.h"

// What the loop keeps between events; the loop alone writes it.
struct LoopState {
    // Ctrl+A ticks every row, and the next untick them all.
    int tickAllNext = 1;
    // The criterion in force: closing the selector's list on another one chooses it.
    long long chosenThreshold = criteria[0].threshold;
    // What the last search found, handed to the search that replaces it and to
    // every purge; the results list's rows show it.
    SearchResults results;
};

struct Application {
    Program program;
    MainWindow window{program};
    LoopState loop;
    PurgeState purge;
    // The map of the "Folder sizes" page, drawn from the loop's results: it is
    // stopped before anything changes them.
    SpaceMapView map;
    // Searches read an NTFS volume's own file table where they may (tests turn it
    // off to compare with the walk).
    bool readVolumeTables = true;
};
