#pragma once
// The keyboard as a person holds it, and the few calls that wait on a person.
// Tests replace the calls behind them (see toolkit/native.h).
#include <string>
#include <vector>

// Keys the program asks about, by their virtual-key codes.
constexpr int keyEnter = 0x0D, keyControl = 0x11, keyEscape = 0x1B, keyDelete = 0x2E;

// Buttons and icons of a message box, combined with |.
constexpr unsigned messageOk = 0x0, messageOkCancel = 0x1, messageCancelIsDefault = 0x100;
constexpr unsigned messageStop = 0x10, messageWarning = 0x30, messageInformation = 0x40;
// The answer of a message box when OK was chosen.
constexpr int answerOk = 1;

// The folder chooser's dialog; an empty text when the person cancels.
std::wstring chooseFolderDialog(const std::wstring& title, const std::wstring& initialPath);
// Shows a menu of `entries` at a point of the screen and waits for the person's
// choice: the chosen entry's index + 1, 0 when none was chosen.
int chooseFromMenuDialog(void* owner, const std::vector<std::wstring>& entries, long x, long y);
// Has the system's file manager show the file in its folder, selected; true when
// the shell took it.
bool showInFileManager(const std::wstring& path);
// Hands a file or address to the shell; true when the shell took it.
bool shellExecute(const wchar_t* verb, const std::wstring& file, const std::wstring& directory, int show, bool quiet);

// The asynchronous key state, read again at most once per tick of the system
// clock (about 10 to 16 ms) and answered from that reading in between.
short __stdcall recentKeyState(int virtualKey);

// Has the shell open an address (a web page, maximized); true when the shell took it.
bool OpenAddress(const std::wstring& address);

// Has the file manager show a file selected in its folder; true when it started.
bool ShowInFolder(const std::wstring& path);
// True while the key is held down (bit 0x8000 of its asynchronous state).
bool KeyHeld(int virtualKey);
// True while the key is held or when it was pressed since the last question.
bool KeyTouched(int virtualKey);
// The message box every message of the program goes through: no owner, and
// task-modal, foreground and topmost added to the given buttons and icon.
int ShowMessage(const std::wstring& text, const std::wstring& caption, unsigned style);
