#include "toolkit/events.h"

#include "toolkit/event_queue.h"
#include "toolkit/native.h"
#include "toolkit/ui_objects.h"

#include <algorithm>

EventQueue& eventQueue() {
    static EventQueue queue;
    return queue;
}

void raiseEvent(int code, int window, int control, int kind) {
    EventQueue& queue = eventQueue();
    if (queue.operationsInProgress > 0) return;  // caused by the toolkit itself, not the user
    std::lock_guard<std::mutex> guard(queue.lock);
    if (!queue.events.empty()) {
        const Event& newest = queue.events.back();
        if (newest.code == code && newest.window == window && newest.control == control && newest.kind == kind)
            return;
    }
    queue.events.push_back(Event{code, window, control, kind});
}

void raiseControlEvent(const Control& control, int kind) {
    raiseEvent(eventControl, windowNumberOf(control.hwnd), control.number, kind);
}

void dropEvents(int window, int control) {
    EventQueue& queue = eventQueue();
    std::lock_guard<std::mutex> guard(queue.lock);
    queue.events.erase(std::remove_if(queue.events.begin(), queue.events.end(),
                                     [&](const Event& e) {
                                         return (control >= 0 && e.control == control && e.code == eventControl) ||
                                                (window >= 0 && e.window == window);
                                     }),
                      queue.events.end());
}

namespace {

bool takeQueuedEvent(Event& event) {
    EventQueue& queue = eventQueue();
    std::lock_guard<std::mutex> guard(queue.lock);
    if (queue.events.empty()) return false;
    event = queue.events.front();
    queue.events.pop_front();
    return true;
}

// Milliseconds left of a wait of `timeout` begun at `start`; unsigned, so right
// across the tick counter's wrap.
DWORD remainingOf(DWORD start, int timeout) {
    const DWORD elapsed = GetTickCount() - start;
    return elapsed >= static_cast<DWORD>(timeout) ? 0 : static_cast<DWORD>(timeout) - elapsed;
}

bool translateAccelerator(MSG& message) {
    int number = windowNumberOf(message.hwnd);
    Window* window = ui().windows.find(number);
    return window && window->accelerators && TranslateAcceleratorW(window->hwnd, window->accelerators, &message);
}

}  // namespace

int EventWait(int timeout) {
    UiState& state = ui();
    EventQueue& queue = eventQueue();
    const DWORD start = GetTickCount();
    MSG message{};
    // A message sent from another thread or program is handled inside PeekMessageW,
    // which then returns none: the queue is looked at again after every call, or
    // what that message raised would wait for the next posted message.
    for (;;) {
        if (takeQueuedEvent(queue.last)) return queue.last.code;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) break;
        if (takeQueuedEvent(queue.last)) return queue.last.code;
        const DWORD wait = timeout < 0 ? INFINITE : remainingOf(start, timeout);
        if (wait == 0) return 0;
        MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    if (!(state.webPanels > 0 && webPanelTranslate(message)) && !translateAccelerator(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    queue.last = Event{static_cast<int>(message.message), windowNumberOf(message.hwnd), -1, 0};
    return static_cast<int>(message.message);
}

int EventControl() { return eventQueue().last.control; }
int EventKind() { return eventQueue().last.kind; }
int EventWindow() { return eventQueue().last.window; }

namespace {

bool isPersonInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) || message == WM_MOUSEHOVER ||
           message == WM_MOUSELEAVE || message == WM_NCMOUSEHOVER || message == WM_NCMOUSELEAVE;
}

// Takes every message waiting: input is dropped, the rest dispatched with no
// event raised, so that nothing the person does starts a command meanwhile.
// Painting waits for its turn: a list of many rows takes tens of milliseconds to
// draw under Wine, and drawing it after every step of the work would double it.
void handleWhileBusy(bool paint) {
    const OperationInProgress noEvents;
    const UINT kinds = PM_QS_INPUT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE | (paint ? PM_QS_PAINT : 0);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | kinds)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (!isPersonInput(message.message)) DispatchMessageW(&message);
    }
}

constexpr DWORD tendEvery = 30, paintEvery = 250;
DWORD lastTended = 0, lastPainted = 0;

// Takes what has come in, painting too when its turn has come.
void tendNow(DWORD now) {
    const bool paint = now - lastPainted >= paintEvery;
    handleWhileBusy(paint);
    lastTended = now;
    if (paint) lastPainted = now;
}

}  // namespace

void EventWaitWhileBusy(const std::function<bool()>& finished, const std::function<void()>& progress, int slice,
                        int wakingThread) {
    HANDLE ended = wakingThread ? ThreadNativeHandle(wakingThread) : nullptr;
    while (!finished()) {
        // Woken by anything but a pending paint, which would wake it at once.
        MsgWaitForMultipleObjectsEx(ended ? 1 : 0, ended ? &ended : nullptr, static_cast<DWORD>(slice),
                                    QS_ALLINPUT & ~QS_PAINT, MWMO_INPUTAVAILABLE);
        tendNow(GetTickCount());
        if (progress) progress();
    }
}

void EventTendWhileBusy() {
    // Often enough that the window answers within a tenth of a second, seldom
    // enough that a step of a few microseconds does not pay for a look each time.
    const DWORD now = GetTickCount();
    if (now - lastTended >= tendEvery) tendNow(now);
}

void SleepAnsweringSentMessages(int milliseconds) {
    const DWORD start = GetTickCount();
    for (DWORD wait; (wait = remainingOf(start, milliseconds)) > 0;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_SENDMESSAGE);
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void EventDiscardKeystrokes() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
}

static_assert(eventKeyDown == WM_KEYDOWN && kindListClosed == CBN_CLOSEUP);
