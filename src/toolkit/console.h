#pragma once
// What a program started from a script needs: its arguments, the console it was
// started from (or the files its output was sent to), and a stop asked there.
#include <string>
#include <vector>

// The words of the command line after the program's own name, quotes taken away
// as the system's own parsing does.
std::vector<std::wstring> ProgramArguments();

// Takes the output the program was started with: the files or pipes it was sent
// to, else the console of the program that started it. From then on Ctrl+C,
// Ctrl+Break, the console closing, and a request to close the program's windows
// (taskkill, the end of a scheduled task or of the session) are heard as a stop
// (ConsoleStopRequested) instead of ending the process at once; the thread that
// called this must look at its messages for the last. Without any console the
// lines go nowhere.
void ConsoleAttach();
// Writes the text and a line end to the output, or to the error output.
void ConsoleWriteLine(const std::wstring& text, bool toErrorOutput = false);
// True once one of those stops came.
bool ConsoleStopRequested();
