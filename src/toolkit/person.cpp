#include "toolkit/person.h"

PersonCalls& personCalls() {
    static PersonCalls calls;
    return calls;
}

bool KeyHeld(int virtualKey) { return (personCalls().keyState(virtualKey) & 0x8000) != 0; }
