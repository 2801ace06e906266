#pragma once
// The event queue: what the user did, as codes the application reads one at a time.
#include <functional>

enum EventCode {
    eventKeyDown = 0x100,  // the native message number of a key going down
    eventControl = 13100,        // a control did something: EventControl(), EventKind()
    eventCloseRequest = 13116,   // the person asked the window to close
    eventWorkEnded = 13117,      // work on another thread has ended (EventRaiseWorkEnded)
};

// Kinds of control events.
enum ControlEventKind {
    kindClick = 0,
    kindRightClick = 1,
    kindDoubleClick = 2,
    kindRightDoubleClick = 3,
    kindListClosed = 8,  // a drop-down list closed its list
    kindChange = 768,
    kindFocus = 14000,
    kindFocusLost = 14001,
    kindDragStart = 14002,
    kindMenu = 14003,  // a context menu was asked for (right button, menu key, Shift+F10)
};

// The next event code, or the number of a native message dispatched instead
// (0x100 for a key going down); 0 when nothing came within the timeout.
// timeout -1 waits as long as needed, 0 does not wait.
int EventWait(int timeout);
int EventControl();
int EventKind();
int EventWindow();

// While long work goes on, the window stays alive: it paints, answers what other
// programs send it and runs its timers, while what a person does to it with the
// mouse or the keys is dropped and nothing reaches the event queue. The
// asynchronous key state keeps following the keyboard meanwhile.
// Waits so until `finished` answers true, asking it every `slice` milliseconds
// and calling `progress` after each look.
// With `wakingThread` (of ThreadStart), it also looks the moment that thread ends.
void EventWaitWhileBusy(const std::function<bool()>& finished, const std::function<void()>& progress = {},
                        int slice = 20, int wakingThread = 0);
// The same for work on this thread, called between its steps: takes what has come
// in, at most every few tens of milliseconds, so it is cheap to call often.
void EventTendWhileBusy();

// Sleeps, but answers what other threads and programs send to this thread's
// windows meanwhile (they would hang waiting on it); posted input stays queued.
void SleepAnsweringSentMessages(int milliseconds);
// From any thread: queues eventWorkEnded for the user-interface thread, whose
// wait for events then returns.
void EventRaiseWorkEnded();
// Drops the key presses waiting in the queue.
void EventDiscardKeystrokes();
