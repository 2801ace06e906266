#pragma once
// A picture the program draws itself (the map of "Folder sizes"): shown as it was
// handed over, at one pixel per pixel, and what the mouse and the keys do over it
// told as control events: kindPointerMove, kindClick, kindDoubleClick, kindMenu.
// It takes the keyboard focus (a click or Tab), so that keys reach the program.
#include <cstdint>
#include <string>
#include <vector>

constexpr int kindPointerMove = 14004;

struct PicturePoint {
    int x = -1, y = -1;  // pixels from the picture's top left; -1 when outside it
    bool inside() const { return x >= 0 && y >= 0; }
};

// `name` is what screen readers call it.
std::intptr_t PictureViewCreate(int number, int x, int y, int width, int height, const std::wstring& name);
// Shows the pixels (0xRRGGBB, the top row first) of a picture width × height; the
// picture stays until the next.
void PictureViewShow(int number, std::vector<uint32_t> pixels, int width, int height);
// The size the view offers a picture.
PicturePoint PictureViewSize(int number);
// Where the pointer was at the view's last event: over the picture, or for a
// menu asked with the keys, the view's middle.
PicturePoint PictureViewPointer(int number);
