#pragma once
// What the window's commands share between events: the options as ticked, the
// selected file, and the drive the results came from.
#include <string>

struct WindowState {
    std::wstring searchDrive;     // the drive of the last search or purge, such as "C:"
    bool purgeTempFiles = false;  // the temporary-files option
    std::wstring selectedPath;
};

WindowState& windowState();
