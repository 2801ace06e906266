#pragma once
// Long work on a thread of its own while the window's thread keeps the window
// alive: the one way Ravlek runs work beside the window.
#include <functional>

class WorkAside {
public:
    // Starts `work` on a thread; where no thread can be had, it runs in `wait`.
    // A stack size (bytes) reserves that much room for the work's calls.
    explicit WorkAside(std::function<void()> work, unsigned long stackBytes = 0);
    // Waits for work still running: nothing the work uses may go first.
    ~WorkAside();
    WorkAside(const WorkAside&) = delete;
    WorkAside& operator=(const WorkAside&) = delete;

    // Returns once the work has ended. Meanwhile the window answers, takes no
    // input and paints, and `progress` is called every `slice` milliseconds.
    void wait(const std::function<void()>& progress = {}, int slice = 20);
    // True once the work has ended, for work the window does not wait for.
    bool hasEnded() const;

private:
    static void run(void* self);

    std::function<void()> work_;
    int thread_ = 0;
    bool ended_ = false;
};
