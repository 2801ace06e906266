#include "support/scripted_person.h"

#include "toolkit/person.h"
#include "toolkit/native.h"

namespace {

ScriptedPerson script;

SHORT WINAPI keyState(int key) {
    const bool held = script.holds ? script.holds(key) : script.heldKeys.count(key) != 0;
    return held ? static_cast<SHORT>(0x8000) : 0;
}

int WINAPI messageBox(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
    script.messages.push_back(ShownMessage{text, caption, type});
    script.heldKeys.clear();  // the person lets go of the keys to answer
    return script.answer;
}

bool shellOpen(const wchar_t*, const std::wstring& file, const std::wstring&, int, bool) {
    script.opened.push_back(file);
    return true;
}

std::wstring chooseFolder(const std::wstring&, const std::wstring&) { return {}; }

}  // namespace

UseScriptedPerson::UseScriptedPerson() {
    script = ScriptedPerson{};
    personCalls() = PersonCalls{keyState, messageBox, chooseFolder, shellOpen};
}

UseScriptedPerson::~UseScriptedPerson() { personCalls() = PersonCalls{}; }

ScriptedPerson& UseScriptedPerson::person() { return script; }
