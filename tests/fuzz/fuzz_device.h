#pragma once
// The device the fuzz targets read instead of a volume: the bytes a target lays
// out, zeros past them up to the device's length, and a count of the reads.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

struct FuzzDevice {
    std::vector<unsigned char> bytes;  // what lies at the start of the device
    unsigned long long length = 0;      // reads past it fail, as past a disk's end
    bool tellsLength = true;            // whether the device answers when asked its length
    std::atomic<unsigned long long> reads{0};  // the table is read on several threads
};

// The one device every RawVolume of the target reads.
FuzzDevice& fuzzDevice();

// Stops the target where an invariant does not hold, the way a sanitizer would.
[[noreturn]] void invariantBroken(const char* what);
#define FUZZ_CHECK(condition) ((condition) ? (void)0 : invariantBroken(#condition))
