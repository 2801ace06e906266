#pragma once
// The keyboard as a person holds it, and the few calls that wait on a person.
// Tests replace the calls behind them (see toolkit/native.h).
#include <optional>
#include <string>
#include <vector>

// Keys the program asks about, by their virtual-key codes.
constexpr int keyBackspace = 0x08, keyEnter = 0x0D, keyControl = 0x11, keyEscape = 0x1B, keyDelete = 0x2E;

// Buttons and icons of a message box, combined with |.
constexpr unsigned messageOk = 0x0, messageOkCancel = 0x1, messageCancelIsDefault = 0x100;
constexpr unsigned messageStop = 0x10, messageWarning = 0x30, messageInformation = 0x40;
// The answer of a message box when OK was chosen.
constexpr int answerOk = 1;

// The folder chooser's dialog; an empty text when the person cancels.
std::wstring chooseFolderDialog(const std::wstring& title, const std::wstring& initialPath);
// A kind of file a save dialog offers: its description and its pattern ("*.csv").
struct FileKind {
    std::wstring description, pattern;
};
// What the person chose in a save dialog: the file, and which kind (from 0).
struct SaveChoice {
    std::wstring path;
    int kind = 0;
};
// The system's save dialog; nothing when the person cancels.
std::optional<SaveChoice> chooseSaveFileDialog(const std::wstring& title, const std::wstring& suggestedName,
                                               const std::vector<FileKind>& kinds, const std::wstring& extension);
// Shows a menu of `entries` at a point of the screen and waits for the person's
// choice: the chosen entry's index + 1, 0 when none was chosen. An empty entry
// is a separator line, counted like the others.
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
// Has the file manager open a folder; true when the shell took it.
bool OpenFolder(const std::wstring& folder);
// True while the key is held down (bit 0x8000 of its asynchronous state).
bool KeyHeld(int virtualKey);
// True while the key is held or when it was pressed since the last question.
bool KeyTouched(int virtualKey);
// The message box every message of the program goes through: no owner, and
// task-modal, foreground and topmost added to the given buttons and icon.
int ShowMessage(const std::wstring& text, const std::wstring& caption, unsigned style);
// The save dialog every file the program writes is named in.
std::optional<SaveChoice> ChooseSaveFile(const std::wstring& title, const std::wstring& suggestedName,
                                         const std::vector<FileKind>& kinds, const std::wstring& extension);
