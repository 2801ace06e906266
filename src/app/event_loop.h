#pragma once
// The loop that turns events into commands.
#include "app/application.h"

// Waits for and handles events until the window is asked to close, then returns.
void runEventLoop(Application& app);
// Handles one event code as the loop does; false when the loop should end.
bool handleEvent(Application& app, int code);
void dispatchControlEvent(Application& app, int control, int kind);
void openManual(const Program& program, MainWindow& window);
