#pragma once
// Status bars, fonts and images.
#include <cstdint>
#include <string>
#include <vector>

constexpr int statusFieldShare = -65535;  // a field that shares the width left over

// A status bar at the foot of the window with that number.
std::intptr_t StatusBarCreate(int number, int window);
// Adds a field to the status bar created last.
void StatusBarAddField(int width);
void StatusBarSetText(int number, int field, const std::wstring& text);
std::wstring StatusBarText(int number, int field);

// A font of `points` at `dpi` dots per inch (0: the screen's). Loaded under the
// number of a font already loaded, it replaces that font in every control showing it.
std::intptr_t FontLoad(int number, const std::wstring& face, int points, int dpi = 0);

// Decodes an icon file image or a BMP image held in memory.
std::intptr_t ImageFromMemory(int number, const unsigned char* data, size_t size);
