#pragma once
// What the window keeps between events, owned here: the file the person selected
// last, written by the loop when the list's selection changes and read by the
// button rule (the status names it) and by a double-click (its web searches).
#include <string>

struct WindowState {
    std::wstring selectedPath;
};

WindowState& windowState();
