#include "window/key_waits.h"

#include "toolkit/events.h"
#include "toolkit/person.h"
#include "window/main_window.h"

void waitForKeysReleased() {
    // Any bit counts, the pressed-since-last-asked bit too: the key that closed a
    // message box must not reach the window. The window lives on meanwhile, and
    // the key press itself is dropped with the rest of the input.
    EventWaitWhileBusy([] { return !KeyTouched(keyEscape) && !KeyTouched(keyEnter); }, {}, 1);
}

void MainWindow::tell(const std::wstring& text, unsigned icon) {
    ShowMessage(text, program_.name, messageOk | icon);
    waitForKeysReleased();
}
