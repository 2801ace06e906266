#pragma once
// The few calls that read the physical keyboard or wait on a person. The program
// uses the system's own; tests put scripted ones in their place.
#include <windows.h>

struct PersonCalls {
    SHORT(WINAPI* keyState)(int virtualKey) = GetAsyncKeyState;
};

PersonCalls& personCalls();

// True while the key is held down (bit 0x8000 of its asynchronous state).
bool KeyHeld(int virtualKey);
