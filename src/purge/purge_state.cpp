#include "purge/purge_state.h"

PurgeState& purgeState() {
    static PurgeState state;
    return state;
}
