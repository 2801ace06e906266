#pragma once
// Starting and ending the toolkit as a whole.

// Everything the window, control and event layer needs before the first window.
void ToolkitStart();
// Releases every object the toolkit holds, in a fixed order, before the process ends.
void ToolkitShutdown();
