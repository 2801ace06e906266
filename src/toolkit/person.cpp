#include "toolkit/person.h"

#include <shellapi.h>

PersonCalls& personCalls() {
    static PersonCalls calls;
    return calls;
}

bool KeyHeld(int virtualKey) { return (personCalls().keyState(virtualKey) & 0x8000) != 0; }

int ShowMessage(const std::wstring& text, const std::wstring& caption, UINT type) {
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
