#include "window/window_state.h"

WindowState& windowState() {
    static WindowState state;
    return state;
}
