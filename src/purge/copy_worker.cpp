#include "purge/copy_worker.h"

#include "app/control_ids.h"
#include "search/busy_state.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/paths.h"
#include "toolkit/person.h"
#include "toolkit/system.h"

CopyState& copyState() {
    static CopyState state;
    return state;
}

CopyFunction& copyFileCall() {
    static CopyFunction call = CopyFileExW;
    return call;
}

DWORD CALLBACK copyProgress(LARGE_INTEGER total, LARGE_INTEGER transferred, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD,
                            HANDLE, HANDLE, LPVOID) {
    CopyState& state = copyState();
    // An empty file is all there as soon as it exists.
    const int percent = total.QuadPart > 0 ? static_cast<int>(transferred.QuadPart * 100 / total.QuadPart) : 100;
    state.copyPercent = percent;
    ControlSetState(idProgressBar, percent);
    if (KeyHeld(VK_ESCAPE)) state.copyCancelled = 1;
    return state.copyCancelled ? PROGRESS_CANCEL : PROGRESS_CONTINUE;
}

namespace {

void copyWorker(void*) {
    CopyState& state = copyState();
    // The destination is the empty file the mover has just claimed under a free
    // name; nothing else is ever written over. Exact names: "notes " is not "notes".
    const std::wstring source = PathExactForm(state.copySource), destination = PathExactForm(state.copyDest);
    BOOL copied = copyFileCall()(source.c_str(), destination.c_str(), copyProgress, nullptr, nullptr, 0);
    state.copyError = copied ? 0 : GetLastError();
    state.copySucceeded = copied ? 1 : 0;
    ControlSetState(idProgressBar, 0);
    state.copyDone = 1;
}

}  // namespace

void startCopy(const std::wstring& source, const std::wstring& destination) {
    CopyState& state = copyState();
    state.copySource = source;
    state.copyDest = destination;
    state.copyCancelled = 0;
    state.copyPercent = 0;
    state.copyDone = 0;
    state.copySucceeded = 0;
    state.copyError = 0;
    if (!ThreadStart(copyWorker, nullptr)) {
        state.copyError = ERROR_NOT_ENOUGH_MEMORY;
        state.copyDone = 1;
    }
}

void waitForCopy() {
    // Not merely until 100 %: the copy call must have closed both files before
    // anything is compared or deleted.
    while (!copyState().copyDone) EventWait(1);
    drainEvents();
}
