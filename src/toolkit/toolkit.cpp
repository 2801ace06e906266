#include "toolkit/toolkit.h"

#include "toolkit/controls.h"
#include "toolkit/listing.h"
#include "toolkit/text_file.h"
#include "toolkit/event_queue.h"
#include "toolkit/ui_objects.h"

#include <commctrl.h>
#include <objbase.h>

#include <utility>

LRESULT CALLBACK postWindowProc(HWND, UINT, WPARAM, LPARAM);
void closeThreadHandles();

void ToolkitStart() {
    UiState& state = ui();
    if (state.started) return;
    state.started = true;
    state.uiThread = GetCurrentThreadId();

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = 0xB48 | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES;
    InitCommonControlsEx(&controls);
    CoInitialize(nullptr);

    state.defaultFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    state.screenDpi = dpi > 0 ? dpi : 96;

    // Other threads reach the user-interface thread through this window.
    state.postWindow = createHiddenWindow(L"RavlekEventPost", postWindowProc, L"");
}

HWND createHiddenWindow(const wchar_t* className, WNDPROC procedure, const wchar_t* title) {
    WNDCLASSEXW kind{};
    kind.cbSize = sizeof kind;
    kind.lpfnWndProc = procedure;
    kind.hInstance = GetModuleHandleW(nullptr);
    kind.lpszClassName = className;
    RegisterClassExW(&kind);
    return CreateWindowExW(0, className, title, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, kind.hInstance, nullptr);
}

void ToolkitShutdown() {
    UiState& state = ui();
    closeThreadHandles();
    if (state.tooltip) DestroyWindow(std::exchange(state.tooltip, nullptr));
    // The numbered objects in the order UiState lists them. Controls go one by
    // one, each panel's own controls before the panel.
    ControlDestroy(-1);
    state.statusBars.releaseAll();
    state.windows.releaseAll();
    TextFileClose(-1);
    state.images.releaseAll();
    state.fonts.releaseAll();
    if (state.postWindow) DestroyWindow(std::exchange(state.postWindow, nullptr));
    {
        EventQueue& queue = eventQueue();
        std::lock_guard<std::mutex> guard(queue.lock);
        queue.events.clear();
    }
    if (state.started) CoUninitialize();
    state.started = false;
}
