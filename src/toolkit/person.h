#pragma once
// The few calls that read the physical keyboard or wait on a person. The program
// uses the system's own; tests put scripted ones in their place.
#include <windows.h>

#include <string>

// The folder chooser's dialog; an empty text when the person cancels.
std::wstring chooseFolderDialog(const std::wstring& title, const std::wstring& initialPath);
// Hands a file or address to the shell; true when the shell took it.
bool shellExecute(const wchar_t* verb, const std::wstring& file, const std::wstring& directory, int show, bool quiet);

// The asynchronous key state, read again at most once per tick of the system
// clock (about 10 to 16 ms) and answered from that reading in between.
SHORT WINAPI recentKeyState(int virtualKey);

struct PersonCalls {
    SHORT(WINAPI* keyState)(int virtualKey) = recentKeyState;
    int(WINAPI* messageBox)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) = MessageBoxW;
    std::wstring (*chooseFolder)(const std::wstring& title, const std::wstring& initialPath) = chooseFolderDialog;
    bool (*shellOpen)(const wchar_t* verb, const std::wstring& file, const std::wstring& directory, int show,
                      bool quiet) = shellExecute;
};

PersonCalls& personCalls();

// True while the key is held down (bit 0x8000 of its asynchronous state).
bool KeyHeld(int virtualKey);
// The message box every message of the program goes through: no owner, and
// task-modal, foreground and topmost added to the given buttons and icon.
int ShowMessage(const std::wstring& text, const std::wstring& caption, UINT type);
