#include "toolkit/ui_objects.h"

#include <commctrl.h>

UiState& ui() {
    static UiState state;
    return state;
}

Control::~Control() {
    if (hwnd) {
        ui().controlsByWindow.erase(hwnd);
        DestroyWindow(hwnd);
    }
    if (backBrush) DeleteObject(backBrush);
}

Window::~Window() {
    if (hwnd) {
        ui().windowNumbers.erase(hwnd);
        DestroyWindow(hwnd);
    }
    if (accelerators) DestroyAcceleratorTable(accelerators);
    if (background) DeleteObject(background);
}

Image::~Image() {
    if (!handle) return;
    if (isIcon) {
        DestroyIcon(static_cast<HICON>(handle));
    } else {
        DeleteObject(handle);
    }
}

Control* controlOfWindow(HWND hwnd) {
    if (!hwnd) return nullptr;
    const auto& controls = ui().controlsByWindow;
    auto it = controls.find(hwnd);
    return it == controls.end() ? nullptr : it->second;
}

int windowNumberOf(HWND hwnd) {
    if (!hwnd) return -1;
    const auto& numbers = ui().windowNumbers;
    auto it = numbers.find(hwnd);
    if (it == numbers.end()) it = numbers.find(GetAncestor(hwnd, GA_ROOT));
    return it == numbers.end() ? -1 : it->second;
}
