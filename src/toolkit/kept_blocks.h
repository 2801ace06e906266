#pragma once
// Large blocks of memory kept once freed, for the next that asks for as many
// bytes. A search sizes the same arrays again each time it runs, and where a
// page first written costs ten microseconds or more (a virtual machine that
// hands its free pages back to the host), sizing them anew cost a search of a
// 600,000-file table about a third of its time. What is kept stays within a bound,
// and is all let go before an allocation is refused for want of memory.
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

// `bytes` of memory, aligned as operator new aligns: a block kept of that size
// when there is one. Throws std::bad_alloc as operator new does.
void* KeptBlockTake(size_t bytes);
// Gives back a block KeptBlockTake handed out for `bytes`.
void KeptBlockGive(void* block, size_t bytes) noexcept;
// The bytes kept now, waiting to be taken again.
size_t KeptBlockBytes();

template <typename T>
struct KeptAllocator {
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);
    using value_type = T;
    KeptAllocator() = default;
    template <typename U>
    KeptAllocator(const KeptAllocator<U>&) noexcept {}
    T* allocate(size_t count) {
        if (count > SIZE_MAX / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(KeptBlockTake(count * sizeof(T)));
    }
    void deallocate(T* block, size_t count) noexcept { KeptBlockGive(block, count * sizeof(T)); }
    template <typename U>
    bool operator==(const KeptAllocator<U>&) const noexcept { return true; }
};

template <typename T>
using KeptVector = std::vector<T, KeptAllocator<T>>;
