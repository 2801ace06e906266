#include "fuzz/fuzz_device.h"

#include "toolkit/raw_volume.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

FuzzDevice& fuzzDevice() {
    static FuzzDevice device;
    return device;
}

void invariantBroken(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// The device is no kernel object: its "handle" only says the volume is open.
OwnedHandle::OwnedHandle(void* handle) : handle_(handle) {}
void OwnedHandle::reset() { handle_ = nullptr; }

RawVolume::RawVolume(wchar_t) : handle_(&fuzzDevice()) {}

std::optional<unsigned long long> RawVolume::length() const {
    if (!fuzzDevice().tellsLength) return std::nullopt;
    return fuzzDevice().length;
}

bool RawVolume::read(unsigned long long offset, void* buffer, std::size_t bytes) {
    FuzzDevice& device = fuzzDevice();
    ++device.reads;
    FUZZ_CHECK(offset % 512 == 0 && bytes % 512 == 0);  // raw reads on Windows need whole sectors
    if (offset > device.length || bytes > device.length - offset) return false;
    auto* out = static_cast<unsigned char*>(buffer);
    const size_t held = device.bytes.size();
    const size_t present =
        offset >= held ? 0 : static_cast<size_t>(std::min<unsigned long long>(bytes, held - offset));
    if (present) std::memcpy(out, device.bytes.data() + offset, present);
    std::memset(out + present, 0, bytes - present);
    return true;
}

SectorBuffer::SectorBuffer(std::size_t bytes) {
    data_ = static_cast<unsigned char*>(std::malloc(bytes));
    if (data_) size_ = bytes;
}
SectorBuffer::~SectorBuffer() { std::free(data_); }
