#pragma once
// Top-level windows, addressed by numbers.
#include <cstdint>
#include <functional>
#include <string>

struct HWND__;  // a native window, as <windows.h> names it

enum WindowFlags {
    windowCentered = 1,
    windowCaption = 0x00C00000,
    windowSystemMenu = 0x00080000,
    windowKeepParent = 8,  // controls created next still go to the current parent
    windowHidden = 0x10000000,
};

// Width and height are the client area. Returns the native handle, or for anyNumber
// the number handed out; 0 on failure.
std::intptr_t WindowOpen(int number, int x, int y, int width, int height, const std::wstring& title, int flags,
                         HWND__* parent = nullptr);
void WindowClose(int number);
void WindowSetTitle(int number, const std::wstring& title);
void WindowSetDisabled(int number, int disabled);
int WindowInnerWidth(int number);
int WindowInnerHeight(int number);
void WindowShow(int number);
// Makes the window the one the person works in, in front of the others.
void WindowBringForward(int number);
// Paints what is waiting to be painted in the window and its controls, at once:
// no other event is taken.
void WindowPaintNow(int number);
// Paints the whole window and every control anew, at once.
void WindowRedrawAll(int number);
// Where the system scales each monitor on its own (Windows 8.1 and later), a
// window moved to a monitor of another scale takes the rectangle the system
// suggests and then calls `follow` with the new dots per inch, to lay itself out
// again. Elsewhere the call is never made.
void WindowFollowDpi(int number, std::function<void(int dpi)> follow);
