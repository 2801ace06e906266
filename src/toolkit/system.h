#pragma once
// Queries of the system, starting programs and threads, and the folder chooser.
#include <windows.h>

#include <string>

std::wstring ProgramPath();

// The release code: 95 10, 98 30, ME 40, NT 3 5, NT 4 20, 2000 50, XP 60, XP x64 and
// Server 2003 60/65, Vista 70/75, 7 80/85, 8 90/95, 8.1 100/105, 10 110, else 200.
int WindowsVersionCode();
int WindowsVersionCodeFor(DWORD platform, DWORD major, DWORD minor, bool workstation);

// Starts the path as a program, or has the shell open it; nonzero when something started.
int RunProgram(const std::wstring& path);

constexpr int ColorRgb(int red, int green, int blue) { return red + green * 256 + blue * 65536; }

using ThreadProcedure = void (*)(void* parameter);
// A native thread; its number, 0 on failure.
int ThreadStart(ThreadProcedure procedure, void* parameter);

// The chosen folder, ending in "\", or an empty text when the user cancels.
std::wstring ChooseFolder(const std::wstring& title, const std::wstring& initialPath);
