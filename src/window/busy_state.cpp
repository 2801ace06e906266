#include "window/busy_state.h"

#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/window.h"
#include "window/control_ids.h"
#include "window/main_window.h"

namespace {

bool noticeShown = false;

}  // namespace

void drainEvents() {
    while (EventWait(0) != 0) {
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
    ContainerEnter(mainWindowNumber);
    ButtonCreate(idBusyNotice, (WindowInnerWidth(mainWindowNumber) - width) / 2,
                 (WindowInnerHeight(mainWindowNumber) - 15) / 2, width, height, text);
    ContainerEnd();
    ControlRaise(idBusyNotice);
    ControlUseFont(idBusyNotice, mainFont);
    noticeShown = true;
    setMainStatus(text + L"...");
}

void hideBusyNotice() {
    if (!noticeShown) return;
    ControlDestroy(idBusyNotice);
    noticeShown = false;
}
