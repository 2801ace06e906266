#pragma once
// The loop that turns events into commands.

struct LoopState {
    int focusedControl = -1;
    int eventControl = -1;
    int tickAllNext = 1;
};
LoopState& loopState();

// Waits for and handles events until the window is asked to close, then returns.
void runEventLoop();
// Handles one event code as the loop does; false when the loop should end.
bool handleEvent(int code);
void dispatchControlEvent(int control, int kind);
void openManual();
