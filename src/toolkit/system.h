#pragma once
// Queries of the system, starting programs and threads, and the folder chooser.
#include <string>

std::wstring ProgramPath();

// The release code: 95 10, 98 30, ME 40, NT 3 5, NT 4 20, 2000 50, XP 60, XP x64 and
// Server 2003 60/65, Vista 70/75, 7 80/85, 8 90/95, 8.1 100/105, 10 110, else 200.
int WindowsVersionCode();
int WindowsVersionCodeFor(unsigned long platform, unsigned long major, unsigned long minor, bool workstation);

// Puts the text on the clipboard as Unicode text; false when the clipboard is
// held by another program.
bool ClipboardSetText(const std::wstring& text);

// Starts the path as a program, or has the shell open it; nonzero when something started.
int RunProgram(const std::wstring& path);

using ThreadProcedure = void (*)(void* parameter);
// A native thread; its number, 0 on failure. A stack size (bytes) reserves that
// much room for its calls instead of the program's default.
int ThreadStart(ThreadProcedure procedure, void* parameter, unsigned long stackBytes = 0);
// Waits until the thread has ended.
void ThreadFinish(int number);
// True once the thread has ended (or was never started).
bool ThreadEnded(int number);

// The chosen folder, ending in "\", or an empty text when the user cancels.
std::wstring ChooseFolder(const std::wstring& title, const std::wstring& initialPath);

// The Windows folder, ending in "\".
std::wstring WindowsFolder();
// Screen dots per inch across.
int ScreenDotsPerInch();
// Windows' high-contrast mode and the colours it asks for (0xRRGGBB).
struct SystemColours {
    bool highContrast = false;
    unsigned long window = 0xFFFFFF, windowText = 0, highlight = 0x3399FF;
};
SystemColours SystemColoursNow();
// The width a vertical scroll bar takes from a list, with the drag allowance.
int ScrollBarAllowance();

// Claims the name for this process until it ends. False when another process
// holds it already; that one is then asked to come forward (a broadcast that a
// hung window cannot hold up).
bool ClaimSingleInstance(const std::wstring& name);
// Lets this process act on other programs' files where an administrator's rights allow.
void EnableDebugPrivilege();
// The system shows no dialog of its own for a drive without a disk.
void QuietCriticalErrors();
// Milliseconds since the system started, wrapping after 49.7 days (differences stay right).
unsigned long TickCount();
// Ends the process with the exit code.
[[noreturn]] void ProcessEnd(int exitCode);
