#include "toolkit/owned_handle.h"

#include <windows.h>

OwnedHandle::OwnedHandle(void* handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}

void OwnedHandle::reset() {
    if (handle_) CloseHandle(static_cast<HANDLE>(std::exchange(handle_, nullptr)));
}
