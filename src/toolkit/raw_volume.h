#pragma once
// A volume's own bytes, read past its folders, where the system lets the program
// open the volume itself (Windows: as administrator).
#include <cstddef>
#include <optional>

class RawVolume {
public:
    // The volume behind a drive letter ("\\.\N:").
    explicit RawVolume(wchar_t letter);
    ~RawVolume();
    RawVolume(const RawVolume&) = delete;
    RawVolume& operator=(const RawVolume&) = delete;

    bool isOpen() const { return handle_ != nullptr; }
    // Reads exactly `bytes` at `offset`: false when they are not all there. Offset and
    // count must be whole sectors, as raw reads on Windows require.
    bool read(unsigned long long offset, void* buffer, std::size_t bytes);
    // The device's length in bytes as the device itself tells it; nothing where it cannot.
    std::optional<unsigned long long> length() const;

private:
    void* handle_ = nullptr;
};

// Memory for raw reads, aligned as they need it; released with the object.
class SectorBuffer {
public:
    explicit SectorBuffer(std::size_t bytes);
    ~SectorBuffer();
    SectorBuffer(const SectorBuffer&) = delete;
    SectorBuffer& operator=(const SectorBuffer&) = delete;

    unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};
