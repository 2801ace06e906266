#include "toolkit/window.h"

#include "toolkit/events.h"
#include "toolkit/native.h"
#include "toolkit/event_queue.h"
#include "toolkit/ui_objects.h"

#include <algorithm>
#include <utility>

namespace {

constexpr WORD commandNextControl = 0xFF01;
constexpr WORD commandPreviousControl = 0xFF02;

Window* windowOf(HWND hwnd) { return ui().windows.find(windowNumberOf(hwnd)); }

void moveFocus(HWND window, bool previous) {
    HWND next = GetNextDlgTabItem(window, GetFocus(), previous);
    if (next) SetFocus(next);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const int number = windowNumberOf(hwnd);
    LRESULT result = 0;
    switch (message) {
        case WM_COMMAND:
            if (lParam == 0) {  // an accelerator: the window's only ones move the focus
                const WORD id = LOWORD(wParam);
                if (id == commandNextControl || id == commandPreviousControl)
                    moveFocus(hwnd, id == commandPreviousControl);
                return 0;
            }
            if (handleControlNotification(message, wParam, lParam, result)) return result;
            break;
        case WM_NOTIFY:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            if (handleControlNotification(message, wParam, lParam, result)) return result;
            break;
        case WM_CLOSE:
            raiseEvent(eventCloseRequest, number, -1, 0);
            return 0;  // the application decides whether the window goes
        case WM_ACTIVATE:
            if (Window* window = windowOf(hwnd)) {
                if (LOWORD(wParam) == WA_INACTIVE) {
                    window->lastFocus = GetFocus();
                } else {
                    if (window->lastFocus && IsWindow(window->lastFocus)) SetFocus(window->lastFocus);
                    return 0;
                }
            }
            break;
        case WM_DPICHANGED:
            if (Window* window = windowOf(hwnd); window && lParam) {
                const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
                SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                             suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
                if (window->dpiChanged) window->dpiChanged(LOWORD(wParam));
                return 0;
            }
            break;
        case WM_SIZE:
            ui().statusBars.forEach([&](int, StatusBar& bar) {
                if (bar.owner == hwnd) SendMessageW(bar.hwnd, WM_SIZE, 0, 0);
            });
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HACCEL tabAccelerators() {
    ACCEL keys[] = {
        {FVIRTKEY, VK_TAB, commandNextControl},
        {FVIRTKEY | FSHIFT, VK_TAB, commandPreviousControl},
    };
    return CreateAcceleratorTableW(keys, 2);
}

bool registerClass(const std::wstring& name) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name.c_str();
    return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

int centred(int screen, int outer) { return (screen - std::min(screen, outer)) / 2; }

}  // namespace

std::intptr_t WindowOpen(int number, int x, int y, int width, int height, const std::wstring& title, int flags,
                         HWND parent) {
    UiState& state = ui();
    if (number < anyNumber) return 0;
    WindowClose(number);
    const int chosen = state.windows.reserve(number);

    DWORD style = static_cast<DWORD>(flags) & 0xEFFF0000u;
    if (style == 0) style = WS_CAPTION;
    const std::wstring className = L"WindowClass_" + std::to_wstring(chosen);
    if (!registerClass(className)) return 0;

    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    const int outerWidth = outer.right - outer.left, outerHeight = outer.bottom - outer.top;
    if (flags & windowCentered) {
        x = centred(GetSystemMetrics(SM_CXSCREEN), outerWidth);
        y = centred(GetSystemMetrics(SM_CYSCREEN), outerHeight);
    }

    HWND hwnd = CreateWindowExW(0, className.c_str(), title.c_str(), style, x, y, outerWidth, outerHeight, parent,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return 0;
    state.windowNumbers[hwnd] = chosen;

    auto window = std::make_unique<Window>();
    window->hwnd = hwnd;
    window->number = chosen;
    window->accelerators = tabAccelerators();
    state.windows.put(chosen, std::move(window));

    if (!(flags & windowKeepParent)) {
        state.currentParent = hwnd;
        state.parentStack.clear();
    }
    if (!(flags & windowHidden)) {
        int show = (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : (style & WS_MINIMIZE) ? SW_SHOWMINIMIZED : SW_SHOW;
        ShowWindow(hwnd, show);
    }
    return number == anyNumber ? chosen : reinterpret_cast<std::intptr_t>(hwnd);
}

void WindowClose(int number) {
    UiState& state = ui();
    Window* window = state.windows.find(number);
    if (!window) return;
    HWND hwnd = window->hwnd;
    // Its controls and status bars go with it.
    for (int control : state.controls.numbers()) {
        Control* c = state.controls.find(control);
        if (c && c->hwnd && GetAncestor(c->hwnd, GA_ROOT) == hwnd) state.controls.take(control);
    }
    for (int bar : state.statusBars.numbers())
        if (state.statusBars.find(bar)->owner == hwnd) state.statusBars.take(bar);
    if (state.currentParent == hwnd) state.currentParent = nullptr;
    state.windows.take(number);
    UnregisterClassW((L"WindowClass_" + std::to_wstring(number)).c_str(), GetModuleHandleW(nullptr));
    dropEvents(number, -1);
}

void WindowSetTitle(int number, const std::wstring& title) {
    if (Window* window = ui().windows.find(number)) SetWindowTextW(window->hwnd, title.c_str());
}

void WindowSetDisabled(int number, int disabled) {
    if (Window* window = ui().windows.find(number)) EnableWindow(window->hwnd, !disabled);
}

static RECT clientRect(int number) {
    RECT r{};
    if (Window* window = ui().windows.find(number)) GetClientRect(window->hwnd, &r);
    return r;
}

int WindowInnerWidth(int number) { return clientRect(number).right; }
int WindowInnerHeight(int number) { return clientRect(number).bottom; }

HWND WindowNativeHandle(int number) {
    Window* window = ui().windows.find(number);
    return window ? window->hwnd : nullptr;
}

void WindowShow(int number) {
    if (HWND hwnd = WindowNativeHandle(number)) ShowWindow(hwnd, SW_SHOW);
}

void WindowPaintNow(int number) {
    if (HWND hwnd = WindowNativeHandle(number)) RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void WindowBringForward(int number) {
    if (HWND hwnd = WindowNativeHandle(number)) SetForegroundWindow(hwnd);
}

static_assert(windowCaption == WS_CAPTION && windowSystemMenu == WS_SYSMENU);

void WindowRedrawAll(int number) {
    if (HWND hwnd = WindowNativeHandle(number))
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void WindowFollowDpi(int number, std::function<void(int dpi)> follow) {
    if (Window* window = ui().windows.find(number)) window->dpiChanged = std::move(follow);
}
