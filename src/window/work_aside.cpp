#include "window/work_aside.h"

#include "toolkit/events.h"
#include "toolkit/system.h"

WorkAside::WorkAside(std::function<void()> work, unsigned long stackBytes) : work_(std::move(work)) {
    thread_ = ThreadStart(&WorkAside::run, this, stackBytes);
}

WorkAside::~WorkAside() {
    if (thread_ && !ended_) ThreadFinish(thread_);
}

void WorkAside::run(void* self) { static_cast<WorkAside*>(self)->work_(); }

void WorkAside::wait(const std::function<void()>& progress, int slice) {
    if (ended_) return;
    if (thread_) {
        const int thread = thread_;
        EventWaitWhileBusy([thread] { return ThreadEnded(thread); }, progress, slice, thread);
        ThreadFinish(thread_);
    } else {
        work_();  // no thread to be had
    }
    ended_ = true;
}

bool WorkAside::hasEnded() const { return ended_ || !thread_ || ThreadEnded(thread_); }
