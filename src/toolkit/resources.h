#pragma once
// Status bars, fonts and images.
#include <windows.h>

#include <string>
#include <vector>

constexpr int statusFieldShare = -65535;  // a field that shares the width left over

INT_PTR StatusBarCreate(int number, HWND window);
// Adds a field to the status bar created last.
void StatusBarAddField(int width);
void StatusBarSetText(int number, int field, const std::wstring& text);
std::wstring StatusBarText(int number, int field);

INT_PTR FontLoad(int number, const std::wstring& face, int points);
HFONT FontNativeHandle(int number);

// Decodes an icon file image or a BMP image held in memory.
INT_PTR ImageFromMemory(int number, const unsigned char* data, size_t size);
HANDLE ImageNativeHandle(int number);
