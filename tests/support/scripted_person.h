#pragma once
// A scripted person for the window's tests: which keys are held, how message
// boxes are answered, and what was handed to the shell.
#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

struct ShownMessage {
    std::wstring text, caption;
    UINT type;
};

struct ScriptedPerson {
    std::set<int> heldKeys;
    // When set, decides instead of heldKeys, asked once per key query.
    std::function<bool(int key)> holds;
    int answer = IDOK;
    std::vector<ShownMessage> messages;
    std::vector<std::wstring> opened;
};

// Puts the script in place of the real calls until the returned owner goes.
class UseScriptedPerson {
public:
    UseScriptedPerson();
    ~UseScriptedPerson();
    ScriptedPerson& person();
};
