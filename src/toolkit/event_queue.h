#pragma once
// The queue between the toolkit's window procedures and EventWait: what the
// person did to a window or control, one record per event. Only the toolkit
// includes this.
#include <windows.h>

#include <deque>
#include <mutex>

class Control;

struct Event {
    int code = 0;
    int window = -1;
    int control = -1;
    int kind = 0;
};

struct EventQueue {
    std::mutex lock;  // held while events are queued, taken or dropped
    std::deque<Event> events;
    Event last;  // what EventWait returned last
    int operationsInProgress = 0;
};

EventQueue& eventQueue();

// Queues an event unless the toolkit itself caused it, or it repeats the newest.
void raiseEvent(int code, int window, int control, int kind);
void raiseControlEvent(const Control& control, int kind);
// Drops the queued events of a window or control that goes.
void dropEvents(int window, int control);

// Counts a toolkit operation that changes a control: events it causes are not queued.
class OperationInProgress {
public:
    OperationInProgress() { ++eventQueue().operationsInProgress; }
    ~OperationInProgress() { --eventQueue().operationsInProgress; }
    OperationInProgress(const OperationInProgress&) = delete;
    OperationInProgress& operator=(const OperationInProgress&) = delete;
};
