#pragma once
// The window's busy state while a search or a purge runs.
#include <string>

// Greys the window's controls (1), or brings them back (0) as the button rule has them.
void setMainControlsDisabled(int flag);
void showBusyNotice(const std::wstring& text);
void hideBusyNotice();

// The window greyed with the busy notice up, from its making to its end; the
// window comes back in one order: the notice goes, then the controls return.
class BusyScope {
public:
    explicit BusyScope(const std::wstring& notice);
    ~BusyScope() { end(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    // Brings the window back before the scope ends.
    void end();

private:
    bool ended_ = false;
};
// The notice's text in the status bar followed by how far the work has come
// ("Scanning C: drive (hold Esc to stop)... 412,318 files looked at, 1,204 found"),
// at most four times a second however often it is asked.
void showBusyProgress(const std::wstring& counts);
// A count with its thousands grouped: "412,318".
std::wstring countText(long long count);
// Takes every pending event without acting on it.
void drainEvents();
