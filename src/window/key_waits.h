#pragma once
#include <string>
// Waits until Escape and Enter are let go, answering what other programs send
// meanwhile, so that the key that closed a message box or stopped a walk does
// not reach the window as well.
void waitForKeysReleased();

// Tells the person something in a message box with the program's name as its
// caption and an OK button, then waits until the key that closed it is let go.
void tell(const std::wstring& text, unsigned icon);
