#pragma once
// The purge commands of the window: delete or move the ticked files.
#include "purge/purge_state.h"
#include "results/search_results.h"

#include <string>
#include <vector>

class MainWindow;

// A ticked row of the results list: where it stands now, and the key it was shown under.
struct TickedRow {
    int row = 0;
    int key = 0;
};

// What a purge is asked for, read from the window when the person asks for it.
struct PurgeRequest {
    bool moving = false;          // the move button, not the delete button
    bool readOnlyToo = false;     // the read-only option
    bool purgeTempFiles = false;  // the temporary-files option
    std::wstring listedDrive;     // the drive list's drive, named when no search has run
    std::vector<TickedRow> ticked;  // top to bottom
    // The program's folders: a note names the Windows drive, and the temporary
    // files are emptied but never the program's own folder or Windows.
    std::wstring windowsFolder, tempFolder, programFolder;
};

// Deletes or moves the ticked files of `results`, each only while it is still the
// file the search found; then empties the temporary files when asked.
void purgeTickedFiles(const PurgeRequest& request, SearchResults& results, const PurgeState& purge,
                      MainWindow& window);
