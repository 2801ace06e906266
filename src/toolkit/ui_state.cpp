#include "toolkit/ui_state.h"

#include <commctrl.h>

UiState& ui() {
    static UiState state;
    return state;
}

Control::~Control() {
    if (kind && kind->destroy) kind->destroy(*this);
    if (hwnd) {
        RemovePropW(hwnd, L"RavlekControl");
        DestroyWindow(hwnd);
    }
    if (backBrush) DeleteObject(backBrush);
}

Window::~Window() {
    if (hwnd) DestroyWindow(hwnd);
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
    return hwnd ? static_cast<Control*>(GetPropW(hwnd, L"RavlekControl")) : nullptr;
}

int windowNumberOf(HWND hwnd) {
    HWND top = hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
    INT_PTR numberPlusOne = top ? reinterpret_cast<INT_PTR>(GetPropW(top, L"RavlekWindow")) : 0;
    return static_cast<int>(numberPlusOne) - 1;
}
