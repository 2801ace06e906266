#pragma once
#include <string>
// Waits until Escape and Enter are let go, answering what other programs send
// meanwhile, so that the key that closed a message box or stopped a walk does
// not reach the window as well.
void waitForKeysReleased();

