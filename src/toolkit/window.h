#pragma once
// Top-level windows, addressed by numbers.
#include <windows.h>

#include <string>

enum WindowFlags {
    windowCentered = 1,
    windowCenteredOnParent = 2,
    windowKeepParent = 8,  // controls created next still go to the current parent
    windowHidden = 0x10000000,
};
constexpr int windowDefaultPosition = -65535;

// Width and height are the client area. Returns the native handle, or for anyNumber
// the number handed out; 0 on failure.
INT_PTR WindowOpen(int number, int x, int y, int width, int height, const std::wstring& title, int flags,
                   HWND parent = nullptr);
void WindowClose(int number);
void WindowSetTitle(int number, const std::wstring& title);
void WindowSetDisabled(int number, int disabled);
int WindowInnerWidth(int number);
int WindowInnerHeight(int number);
HWND WindowNativeHandle(int number);
