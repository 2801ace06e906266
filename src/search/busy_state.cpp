#include "search/busy_state.h"

#include "app/control_ids.h"
#include "app/main_window.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/resources.h"
#include "toolkit/window.h"

namespace {

bool noticeShown = false;

}  // namespace

void drainEvents() {
    while (EventWait(0) != 0) {
    }
}

void discardKeystrokes() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
}

void setMainControlsDisabled(int flag) {
    for (int id = idSearchLabel; id <= idExactInfoPanel; ++id) ControlSetDisabled(id, flag);
    WindowSetDisabled(mainWindowNumber, flag);
    drainEvents();
}

void showBusyNotice(const std::wstring& text) {
    if (noticeShown) return;
    const int width = 220, height = 50;
    HWND previous = ContainerUseWindow(WindowNativeHandle(mainWindowNumber));
    ButtonCreate(idBusyNotice, (WindowInnerWidth(mainWindowNumber) - width) / 2,
                 (WindowInnerHeight(mainWindowNumber) - 15) / 2, width, height, text);
    ContainerUseWindow(previous);
    SetWindowPos(ControlNativeHandle(idBusyNotice), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ControlSetFont(idBusyNotice, reinterpret_cast<INT_PTR>(FontNativeHandle(mainFont)));
    noticeShown = true;
    setMainStatus(text + L"...");
}

void hideBusyNotice() {
    if (!noticeShown) return;
    ControlDestroy(idBusyNotice);
    noticeShown = false;
}
