#include "toolkit/person.h"

#include "toolkit/native.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>

PersonCalls& personCalls() {
    static PersonCalls calls;
    return calls;
}

namespace {

struct KeyReading {
    std::atomic<DWORD> tick{0};
    std::atomic<SHORT> state{0};
    std::atomic<bool> taken{false};
};

KeyReading readings[256];

}  // namespace

SHORT WINAPI recentKeyState(int virtualKey) {
    // Each GetAsyncKeyState is a trip to the window server under Wine (8 us): asked
    // once per directory entry, it doubled the time of a walk. A person holds a key
    // for tens of milliseconds at the least, so a reading of this tick serves.
    KeyReading& reading = readings[virtualKey & 0xFF];
    const DWORD now = GetTickCount();
    if (reading.taken && reading.tick == now) return reading.state;
    const SHORT state = GetAsyncKeyState(virtualKey);
    reading.state = state;
    reading.tick = now;
    reading.taken = true;
    return state;
}

bool KeyHeld(int virtualKey) { return (personCalls().keyState(virtualKey) & 0x8000) != 0; }

bool KeyTouched(int virtualKey) { return personCalls().keyState(virtualKey) != 0; }

static_assert(keyEnter == VK_RETURN && keyControl == VK_CONTROL && keyEscape == VK_ESCAPE && keyDelete == VK_DELETE);
static_assert(messageOk == MB_OK && messageOkCancel == MB_OKCANCEL && messageStop == MB_ICONHAND &&
              messageWarning == MB_ICONEXCLAMATION && messageInformation == MB_ICONINFORMATION &&
              messageCancelIsDefault == MB_DEFBUTTON2 && answerOk == IDOK);

int ShowMessage(const std::wstring& text, const std::wstring& caption, unsigned type) {
    return personCalls().messageBox(nullptr, text.c_str(), caption.c_str(),
                                    type | MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST);
}

bool shellExecute(const wchar_t* verb, const std::wstring& file, const std::wstring& directory, int show, bool quiet) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = quiet ? SEE_MASK_FLAG_NO_UI : 0;
    info.lpVerb = verb;
    info.lpFile = file.c_str();
    info.lpParameters = L"";
    info.lpDirectory = directory.c_str();
    info.nShow = show;
    return ShellExecuteExW(&info) != FALSE;
}

int chooseFromMenuDialog(void* owner, const std::vector<std::wstring>& entries, long x, long y) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return 0;
    for (size_t i = 0; i < entries.size(); ++i)
        AppendMenuW(menu, entries[i].empty() ? MF_SEPARATOR : MF_STRING, i + 1, entries[i].c_str());
    const int chosen = static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                                                       static_cast<int>(x), static_cast<int>(y), 0,
                                                       static_cast<HWND>(owner), nullptr));
    DestroyMenu(menu);
    return chosen;
}

bool showInFileManager(const std::wstring& path) {
    // Explorer's own switch, which every Windows since 95 knows: the folder opens
    // with the file selected.
    const std::wstring parameters = L"/select,\"" + path + L"\"";
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.lpVerb = L"open";
    info.lpFile = L"explorer.exe";
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

bool ShowInFolder(const std::wstring& path) { return personCalls().showInFolder(path); }

bool OpenFolder(const std::wstring& folder) { return personCalls().shellOpen(L"explore", folder, L"", SW_SHOWNORMAL, false); }

bool OpenAddress(const std::wstring& address) {
    return personCalls().shellOpen(L"open", address, L"", SW_SHOWMAXIMIZED, false);
}

std::optional<SaveChoice> chooseSaveFileDialog(const std::wstring& title, const std::wstring& suggestedName,
                                               const std::vector<FileKind>& kinds, const std::wstring& extension) {
    // Each kind as the dialog takes them: description, pattern, each ended by a
    // null, and a null after the last.
    std::wstring filter;
    for (const FileKind& kind : kinds) filter += kind.description + L'\0' + kind.pattern + L'\0';
    filter += L'\0';
    std::wstring path(32768, L'\0');
    suggestedName.copy(path.data(), std::min<size_t>(suggestedName.size(), path.size() - 1));
    HWND foreground = GetForegroundWindow();
    DWORD process = 0;
    if (foreground) GetWindowThreadProcessId(foreground, &process);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = process == GetCurrentProcessId() ? foreground : nullptr;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY |
                   OFN_NOREADONLYRETURN;
    if (!GetSaveFileNameW(&dialog)) return std::nullopt;
    path.resize(wcsnlen(path.c_str(), path.size()));
    return SaveChoice{path, dialog.nFilterIndex > 0 ? static_cast<int>(dialog.nFilterIndex) - 1 : 0};
}

std::optional<SaveChoice> ChooseSaveFile(const std::wstring& title, const std::wstring& suggestedName,
                                         const std::vector<FileKind>& kinds, const std::wstring& extension) {
    return personCalls().chooseSaveFile(title, suggestedName, kinds, extension);
}
