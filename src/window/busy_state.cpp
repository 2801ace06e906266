#include "window/busy_state.h"

#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/system.h"
#include "toolkit/window.h"
#include "window/action_buttons.h"
#include "window/control_ids.h"
#include "window/main_window.h"

#include <utility>

namespace {

bool noticeShown = false;
std::wstring noticeText;
unsigned long lastProgress = 0;

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

void setMainControlsDisabled(int flag) {
    for (int id : everyControlButTheSearchIcon)
        if (flag || !followsButtonRule(id)) ControlSetDisabled(id, flag);
    if (!flag) updateActionButtons();
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
    noticeText = text;
    lastProgress = TickCount();
    setMainStatus(text + L"...");
    // The long work that follows takes no events, so the notice would otherwise be
    // painted only once it is over.
    WindowPaintNow(mainWindowNumber);
}

void showBusyProgress(const std::wstring& counts) {
    const unsigned long now = TickCount();
    if (!noticeShown || now - lastProgress < 250) return;
    lastProgress = now;
    setMainStatus(noticeText + L"... " + counts);
    // The window paints as the work goes on, and may paint over the notice.
    ControlPaintNow(idBusyNotice);
}

std::wstring countText(long long count) {
    std::wstring digits = std::to_wstring(count < 0 ? -count : count);
    for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, L",");
    return (count < 0 ? L"-" : L"") + digits;
}

BusyScope::BusyScope(const std::wstring& notice) {
    setMainControlsDisabled(1);
    showBusyNotice(notice);
}

void BusyScope::end() {
    if (std::exchange(ended_, true)) return;
    hideBusyNotice();
    setMainControlsDisabled(0);
}

void hideBusyNotice() {
    if (!noticeShown) return;
    ControlDestroy(idBusyNotice);
    noticeShown = false;
}
