#include "window/key_waits.h"

#include "toolkit/events.h"
#include "toolkit/person.h"

void waitForKeysReleased() {
    // Any bit counts, the pressed-since-last-asked bit too: the key that closed a
    // message box must not reach the window.
    for (;;) {
        SleepAnsweringSentMessages(1);
        if (KeyTouched(keyEscape)) continue;
        if (KeyTouched(keyEnter)) continue;
        return;
    }
}
