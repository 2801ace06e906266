#include "toolkit/kept_blocks.h"

#include <map>
#include <mutex>

namespace {

// Smaller blocks are the heap's to reuse; a stretch of a file table's names is
// about this large.
constexpr size_t leastKept = 16 * 1024;
// About what the scan of a table of two million files sizes; a 32-bit process
// keeps less of its 2 GB.
constexpr size_t mostKept = sizeof(void*) >= 8 ? size_t{256} << 20 : size_t{64} << 20;

// Under AddressSanitizer nothing is kept, so that a block used after it was
// given back is still caught.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool keeping = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool keeping = false;
#else
constexpr bool keeping = true;
#endif
#else
constexpr bool keeping = true;
#endif

class KeptBlocks {
public:
    void* take(size_t bytes) {
        std::lock_guard<std::mutex> guard(lock_);
        const auto kept = blocks_.find(bytes);
        if (kept == blocks_.end()) return nullptr;
        void* block = kept->second;
        blocks_.erase(kept);
        total_ -= bytes;
        return block;
    }
    // False when it is not kept: past the bound, or no room for its entry.
    bool give(void* block, size_t bytes) noexcept {
        std::lock_guard<std::mutex> guard(lock_);
        if (bytes > mostKept - total_) return false;
        try {
            blocks_.emplace(bytes, block);
        } catch (const std::bad_alloc&) {
            return false;
        }
        total_ += bytes;
        return true;
    }
    // False when nothing was kept.
    bool releaseAll() {
        std::lock_guard<std::mutex> guard(lock_);
        if (blocks_.empty()) return false;
        for (const auto& [bytes, block] : blocks_) ::operator delete(block);
        blocks_.clear();
        total_ = 0;
        return true;
    }
    size_t total() {
        std::lock_guard<std::mutex> guard(lock_);
        return total_;
    }

private:
    std::mutex lock_;
    std::multimap<size_t, void*> blocks_;  // by their bytes
    size_t total_ = 0;
};

// Never destroyed: vectors that outlive the others at the program's end still give back.
KeptBlocks& keptBlocks() {
    static KeptBlocks* blocks = new KeptBlocks;
    return *blocks;
}

}  // namespace

void* KeptBlockTake(size_t bytes) {
    if (keeping && bytes >= leastKept) {
        if (void* block = keptBlocks().take(bytes)) return block;
    }
    try {
        return ::operator new(bytes);
    } catch (const std::bad_alloc&) {
        // What is kept is the first to go when memory runs out.
        if (!keptBlocks().releaseAll()) throw;
        return ::operator new(bytes);
    }
}

void KeptBlockGive(void* block, size_t bytes) noexcept {
    if (!block) return;
    if (keeping && bytes >= leastKept && keptBlocks().give(block, bytes)) return;
    ::operator delete(block);
}

size_t KeptBlockBytes() { return keptBlocks().total(); }
