#pragma once
// A volume's own bytes, read past its folders, where the system lets the program
// open the volume itself (Windows: as administrator).
#include "toolkit/owned_handle.h"

#include <cstddef>
#include <optional>
#include <utility>

class RawVolume {
public:
    // The volume behind a drive letter ("\\.\N:").
    explicit RawVolume(wchar_t letter);

    bool isOpen() const { return static_cast<bool>(handle_); }
    // Reads exactly `bytes` at `offset`: false when they are not all there. Offset and
    // count must be whole sectors, as raw reads on Windows require. Threads may read at once.
    bool read(unsigned long long offset, void* buffer, std::size_t bytes);
    // The device's length in bytes as the device itself tells it; nothing where it cannot.
    std::optional<unsigned long long> length() const;

private:
    OwnedHandle handle_;
};

// Memory for raw reads, aligned as they need it; released with the object.
class SectorBuffer {
public:
    explicit SectorBuffer(std::size_t bytes);
    ~SectorBuffer();
    SectorBuffer(const SectorBuffer&) = delete;
    SectorBuffer& operator=(const SectorBuffer&) = delete;
    SectorBuffer(SectorBuffer&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
    SectorBuffer& operator=(SectorBuffer&& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        return *this;
    }

    unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};
