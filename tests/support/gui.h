#pragma once
// Driving real windows in tests: events out of the toolkit's queue, and real
// mouse and key input through the system's input queue.
#include <windows.h>

#include <vector>

struct SeenEvent {
    int code, window, control, kind;
    bool operator==(const SeenEvent&) const = default;
};

// Every toolkit event (native message numbers left out) that comes within ms.
std::vector<SeenEvent> drainEvents(int ms = 250);
// Only the control events of one control.
std::vector<int> controlEventKinds(const std::vector<SeenEvent>& events, int control);

// A left click at a point of the window's client area (its centre by default).
void clickAt(HWND hwnd, int x = -1, int y = -1, bool twice = false);
void pressKeys(std::initializer_list<WORD> keys);

// A 16 x 16, 32-bit icon file of one colour, as it would sit in the program's data.
std::vector<unsigned char> iconFile(COLORREF color);
