#include "window/busy_state.h"

#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/system.h"
#include "toolkit/window.h"
#include "window/control_ids.h"
#include "window/main_window.h"

#include <utility>

namespace {

// The button rule decides these once the window is back: enabling them only for
// the rule to disable them again costs two repaints each under Wine.
bool followsButtonRule(int id) {
    return id == idDeleteButton || id == idMoveButton || id == idTextLabel || id == idTextField;
}

}  // namespace

void drainEvents() {
    while (EventWait(0) != 0) {
    }
}

void MainWindow::setControlsDisabled(bool disabled) {
    for (int id : everyControlButTheSearchIcon)
        if (disabled || !followsButtonRule(id)) ControlSetDisabled(id, disabled);
    if (!disabled) updateActionButtons();
    WindowSetDisabled(mainWindowNumber, disabled);
    drainEvents();
}

void MainWindow::showBusyNotice(const std::wstring& text) {
    if (noticeShown_) return;
    const int width = 220, height = 50;
    ContainerEnter(mainWindowNumber);
    ButtonCreate(idBusyNotice, (WindowInnerWidth(mainWindowNumber) - width) / 2,
                 (WindowInnerHeight(mainWindowNumber) - 15) / 2, width, height, text);
    ContainerEnd();
    ControlRaise(idBusyNotice);
    ControlUseFont(idBusyNotice, mainFont);
    noticeShown_ = true;
    noticeText_ = text;
    lastProgress_ = TickCount();
    setStatus(text + L"...");
    // The long work that follows takes no events, so the notice would otherwise be
    // painted only once it is over.
    WindowPaintNow(mainWindowNumber);
}

void MainWindow::showBusyProgress(const std::wstring& counts) {
    const unsigned long now = TickCount();
    if (!noticeShown_ || now - lastProgress_ < 250) return;
    lastProgress_ = now;
    setStatus(noticeText_ + L"... " + counts);
    // The window paints as the work goes on, and may paint over the notice.
    ControlPaintNow(idBusyNotice);
}

BusyScope::BusyScope(MainWindow& window, const std::wstring& notice) : window_(window) {
    window_.setControlsDisabled(true);
    window_.showBusyNotice(notice);
}

void BusyScope::end() {
    if (std::exchange(ended_, true)) return;
    window_.hideBusyNotice();
    window_.setControlsDisabled(false);
}

void MainWindow::hideBusyNotice() {
    if (!noticeShown_) return;
    ControlDestroy(idBusyNotice);
    noticeShown_ = false;
}
