#pragma once
// An open kernel handle for classes whose headers keep <windows.h> out: closed
// once, by its owner, and moved rather than copied.
#include <utility>

class OwnedHandle {
public:
    OwnedHandle() = default;
    // Takes `handle`; the system's two ways of saying "none" (null, and
    // INVALID_HANDLE_VALUE) both make an empty owner.
    explicit OwnedHandle(void* handle);
    ~OwnedHandle() { reset(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }

    void* get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Closes the handle now.
    void reset();

private:
    void* handle_ = nullptr;
};
