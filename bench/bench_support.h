#pragma once
// What the benchmark programs share: every allocation counted (include this in
// one file of a program only: it replaces the program's operator new), a clock,
// medians, and the bare find loop every walk is measured against.
#include "toolkit/handles.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <chrono>
#include <cstdlib>
#include <cwchar>
#include <new>
#include <string>
#include <vector>

// Every allocation of the program is counted, so the collection's memory can be
// read exactly: the bytes asked for, plus what the heap adds per block.
namespace {
constexpr size_t heapOverheadPerBlock = 16;
std::atomic<long long> liveBytes{0}, peakBytes{0};
}  // namespace

void* operator new(size_t size) {
    size_t* block = static_cast<size_t*>(std::malloc(size + sizeof(size_t) * 2));
    if (!block) throw std::bad_alloc();
    block[0] = size;
    long long now = liveBytes += static_cast<long long>(size + heapOverheadPerBlock);
    for (long long peak = peakBytes; now > peak && !peakBytes.compare_exchange_weak(peak, now);) {}
    return block + 2;
}

void operator delete(void* pointer) noexcept {
    if (!pointer) return;
    // The header lies before what was handed out; reached through its address as a
    // number, since a compiler that inlines this sees only the object handed out.
    size_t* block = reinterpret_cast<size_t*>(reinterpret_cast<std::uintptr_t>(pointer) - 2 * sizeof(size_t));
    liveBytes -= static_cast<long long>(block[0] + heapOverheadPerBlock);
    std::free(block);
}

void operator delete(void* pointer, size_t) noexcept { operator delete(pointer); }

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The plainest walk there is: the find calls, folder by folder; the files it saw.
long long bareWalk(const std::wstring& folder) {
    long long files = 0;
    WIN32_FIND_DATAW entry;
    FindHandle find(FindFirstFileW((folder + L"*.*").c_str(), &entry));
    if (!find.valid()) return 0;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (wcscmp(entry.cFileName, L".") && wcscmp(entry.cFileName, L".."))
                files += bareWalk(folder + entry.cFileName + L"\\");
        } else {
            ++files;
        }
    } while (FindNextFileW(find.get(), &entry));
    return files;
}


}  // namespace
