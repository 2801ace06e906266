#pragma once
// The program's way in and its one way out.

// Runs the start-up sequence; returns only through shutdown().
int startProgram();
// Releases everything and ends the process with the exit code.
[[noreturn]] void shutdown(int exitCode = 0);
