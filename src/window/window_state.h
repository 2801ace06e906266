#pragma once
// What the window's commands share between events: the options as ticked, the
// selected row, and the drive the results came from.
#include <string>

struct WindowState {
    std::wstring searchDrive;     // the drive of the last search or purge, such as "C:"
    bool purgeTempFiles = false;  // the temporary-files option
    int selectedRow = -1;
    std::wstring selectedPath;
};

WindowState& windowState();
