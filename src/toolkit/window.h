#pragma once
// Top-level windows, addressed by numbers.
#include <cstdint>
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
