#include "purge/identical_files.h"

#include "toolkit/content_reader.h"

#include <algorithm>
#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#endif
#include <atomic>
#include <cstdint>
#include <cstring>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <optional>
#include <utility>

namespace {

// Each distinct block kept costs a block of memory: past this many in one pass,
// the files that match none are told apart by their blocks' hashes, and only
// those whose hash another shares are read again.
constexpr size_t distinctBlocksAtOnce = 16;

// A file being compared, held open from its first block to its last.
struct Member {
    size_t file;  // into the request's files
    ContentReader reader;
};

// Files whose bytes are equal from the start up to `offset`. `oneHash`: their
// blocks at `offset` hash alike, so that a hash tells them no further apart.
struct EqualSoFar {
    std::vector<size_t> members;
    long long offset = 0;
    bool oneHash = false;
};

// A hash of a block, only to tell blocks apart quickly: blocks that hash alike
// are still compared byte for byte. Four lanes, so that the multiplications run
// side by side.
uint64_t blockHash(const char* bytes, size_t length) {
    constexpr uint64_t multiplier = 0x9E3779B97F4A7C15ULL;
    uint64_t lanes[4] = {length, 0x243F6A8885A308D3ULL, 0x13198A2E03707344ULL, 0xA4093822299F31D0ULL};
    size_t at = 0;
    for (; at + 32 <= length; at += 32) {
        for (int lane = 0; lane < 4; ++lane) {
            uint64_t word;
            std::memcpy(&word, bytes + at + 8 * lane, 8);
            lanes[lane] = ((lanes[lane] ^ word) * multiplier) ^ (lanes[lane] >> 29);
        }
    }
    uint64_t hash = lanes[0] ^ (lanes[1] * 3) ^ (lanes[2] * 5) ^ (lanes[3] * 7);
    for (; at < length; ++at) hash = (hash ^ static_cast<unsigned char>(bytes[at])) * multiplier;
    return hash ^ (hash >> 31);
}

// Byte for byte, 64 bytes a step where the processor compares 16 at once: the
// comparison is nearly all of the work beyond reading, and the C runtime's
// memcmp (Wine's among them) takes twice as long.
bool sameBytes(const char* a, const char* b, size_t length) {
    size_t at = 0;
#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
    for (; at + 64 <= length; at += 64) {
        auto differs = [&](size_t from) {
            return _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + from)),
                                 _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + from)));
        };
        const __m128i any = _mm_or_si128(_mm_or_si128(differs(at), differs(at + 16)),
                                         _mm_or_si128(differs(at + 32), differs(at + 48)));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) != 0xFFFF) return false;
    }
#endif
    return std::memcmp(a + at, b + at, length - at) == 0;
}

bool sameAsFound(const FileIdentity& found, const FileIdentity& now) {
    if (found.index && now.index && found.index != now.index) return false;
    return now.size == found.size && now.lastWrite == found.lastWrite;
}

// The files of one size being compared, open from their first block to their
// last: the sets they split into share them.
struct SameSize {
    long long size = 0;
    std::vector<Member> members;
};

// A set still to be split, as any comparing thread can take it.
struct Task {
    std::shared_ptr<SameSize> files;
    EqualSoFar set;
};

class Comparison;

// One comparing thread's own part: what it found and the blocks it reads into.
class Comparer {
public:
    Comparer(Comparison& shared, size_t blockBytes) : shared_(shared), block_(blockBytes) {}
    void work();
    CopiesFound& found() { return found_; }

private:
    void counted(long long bytes);
    bool stopRequested();
    std::shared_ptr<SameSize> open(const std::vector<size_t>& sameSize);
    std::vector<char> spareBuffer();
    void split(const std::shared_ptr<SameSize>& files, EqualSoFar set);
    void keepGroup(SameSize& files, const std::vector<size_t>& equal);

    Comparison& shared_;
    const size_t block_;
    std::vector<std::vector<char>> spare_;
    CopiesFound found_;
};

// Sets that split are independent of each other, as are sizes: each is taken
// by the next comparing thread free, so that the files are read and compared on
// every core while each set is still read side by side, a block at a time.
class Comparison {
public:
    Comparison(const CompareRequest& request, CompareObserver& observer) : request(request), observer_(observer) {}

    CopiesFound run() {
        const std::vector<CopyCandidate>& files = request.files;
        // By size, and in the order listed within a size.
        std::vector<size_t> bySize;
        for (size_t i = 0; i < files.size(); ++i)
            if (files[i].identity.size > 0) bySize.push_back(i);
        std::stable_sort(bySize.begin(), bySize.end(),
                         [&](size_t a, size_t b) { return files[a].identity.size < files[b].identity.size; });
        long long toCompare = 0;
        for (size_t at = 0; at < bySize.size();) {
            size_t end = at + 1;
            while (end < bySize.size() && files[bySize[end]].identity.size == files[bySize[at]].identity.size) ++end;
            if (end - at > 1) {
                sizes_.emplace_back(bySize.begin() + at, bySize.begin() + end);
                toCompare += static_cast<long long>(end - at) * files[bySize[at]].identity.size;
            }
            at = end;
        }
        if (request.counts) request.counts->bytesToCompare = toCompare;
        const size_t block = std::max<size_t>(request.blockBytes, 4096);
        const size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, maxThreads);
        std::vector<Comparer> comparers(threads, Comparer(*this, block));
        std::vector<std::thread> helpers;
        for (size_t i = 1; i < threads; ++i) {
            try {
                helpers.emplace_back([&comparers, i] { comparers[i].work(); });
            } catch (const std::system_error&) {
                break;  // no more threads to be had: fewer compare
            }
        }
        comparers[0].work();
        for (std::thread& helper : helpers) helper.join();
        return merged(comparers);
    }

    const CompareRequest& request;

    // The next work for a comparing thread: a set to split (the one offered last,
    // so that open files are done with first) or else a size to open. False once
    // nothing is left for any thread, or the comparison is to stop.
    bool take(Task& task, const std::vector<size_t>*& sizeToOpen) {
        std::unique_lock<std::mutex> guard(lock_);
        for (;;) {
            if (stopped_) return false;
            if (!tasks_.empty()) {
                task = std::move(tasks_.back());
                tasks_.pop_back();
                sizeToOpen = nullptr;
                ++working_;
                return true;
            }
            if (nextSize_ < sizes_.size()) {
                sizeToOpen = &sizes_[nextSize_++];
                ++working_;
                return true;
            }
            if (working_ == 0) return false;
            changed_.wait(guard);
        }
    }

    void offer(Task task) {
        {
            std::lock_guard<std::mutex> guard(lock_);
            tasks_.push_back(std::move(task));
        }
        changed_.notify_one();
    }

    void taskDone() {
        bool last;
        {
            std::lock_guard<std::mutex> guard(lock_);
            last = --working_ == 0 && tasks_.empty() && nextSize_ == sizes_.size();
        }
        if (last) changed_.notify_all();
    }

    bool stopRequested() {
        if (stopped_) return true;
        if (!observer_.stopRequested()) return false;
        {
            std::lock_guard<std::mutex> guard(lock_);
            stopped_ = true;
            tasks_.clear();
        }
        changed_.notify_all();
        return true;
    }

private:
    static constexpr size_t maxThreads = 8;  // each holds up to seventeen blocks

    // One answer from every thread's: groups in the order listed, whichever thread found them.
    CopiesFound merged(std::vector<Comparer>& comparers) {
        CopiesFound found;
        for (Comparer& comparer : comparers) {
            CopiesFound& part = comparer.found();
            found.groups.insert(found.groups.end(), std::make_move_iterator(part.groups.begin()),
                                std::make_move_iterator(part.groups.end()));
            found.spaceOfExtras += part.spaceOfExtras;
            found.changed += part.changed;
            found.unreadable += part.unreadable;
            found.onlineOnly += part.onlineOnly;
        }
        found.stopped = stopped_;
        if (found.stopped) {
            found.groups.clear();
            found.spaceOfExtras = 0;
        }
        const auto first = [](const CopyGroup& group) {
            return group.extra.empty() ? group.kept : std::min(group.kept, group.extra.front());
        };
        std::sort(found.groups.begin(), found.groups.end(),
                  [&](const CopyGroup& a, const CopyGroup& b) { return first(a) < first(b); });
        return found;
    }

    CompareObserver& observer_;
    std::vector<std::vector<size_t>> sizes_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::vector<Task> tasks_;
    size_t nextSize_ = 0;
    size_t working_ = 0;  // threads with a task in hand
    std::atomic<bool> stopped_{false};
};

void Comparer::work() {
    Task task;
    const std::vector<size_t>* sizeToOpen = nullptr;
    while (shared_.take(task, sizeToOpen)) {
        if (sizeToOpen) {
            if (std::shared_ptr<SameSize> files = open(*sizeToOpen)) {
                std::vector<size_t> all(files->members.size());
                for (size_t i = 0; i < all.size(); ++i) all[i] = i;
                split(files, EqualSoFar{std::move(all), 0});
            }
        } else {
            split(task.files, std::move(task.set));
        }
        task = Task{};  // the last set of a size closes its files here
        shared_.taskDone();
    }
}

void Comparer::counted(long long bytes) {
    if (shared_.request.counts) shared_.request.counts->bytesCompared.fetch_add(bytes, std::memory_order_relaxed);
}

bool Comparer::stopRequested() { return shared_.stopRequested(); }

// The files of one size that can be compared: each still the file found,
// readable, and each file once however many of its names are listed. Null when
// fewer than two are.
std::shared_ptr<SameSize> Comparer::open(const std::vector<size_t>& sameSize) {
    const std::vector<CopyCandidate>& files = shared_.request.files;
    auto opened = std::make_shared<SameSize>();
    opened->size = files[sameSize.front()].identity.size;
    const long long size = opened->size;
    std::map<std::pair<unsigned long, unsigned long long>, size_t> fileOfName;
    for (size_t file : sameSize) {
        // Opening is asked between files too: a size that thousands of files
        // share takes a while to open.
        if (stopRequested()) return nullptr;
        const CopyCandidate& candidate = files[file];
        if (candidate.onlineOnly) {
            ++found_.onlineOnly;
            counted(size);
            continue;
        }
        ContentReader reader(candidate.path);
        const FileIdentity now = reader.openedAs();
        if (reader.isOnlineOnly()) {
            ++found_.onlineOnly;
        } else if (!reader.isOpen()) {
            ++found_.unreadable;
        } else if (!sameAsFound(candidate.identity, now)) {
            ++found_.changed;
        } else if (now.index && !fileOfName.emplace(std::make_pair(candidate.volume, now.index), file).second) {
            // Another name of a file already here: one file, never a copy of itself.
        } else {
            opened->members.push_back(Member{file, std::move(reader)});
            continue;
        }
        counted(size);
    }
    if (opened->members.size() < 2) {
        counted(size * static_cast<long long>(opened->members.size()));
        return nullptr;
    }
    return opened;
}

std::vector<char> Comparer::spareBuffer() {
    if (spare_.empty()) return std::vector<char>(block_);
    std::vector<char> buffer = std::move(spare_.back());
    spare_.pop_back();
    return buffer;
}

// Reads the files side by side, a block at a time, and splits them where their
// bytes differ; one of the sets it splits into is followed here, the others are
// offered to whichever thread is free.
void Comparer::split(const std::shared_ptr<SameSize>& shared, EqualSoFar start) {
    SameSize& files = *shared;
    std::vector<Member>& members = files.members;
    const long long size = files.size;
    std::vector<EqualSoFar> waiting;
    waiting.push_back(std::move(start));
    std::vector<char> incoming = spareBuffer();
    struct Distinct {
        std::vector<char> bytes;
        std::optional<uint64_t> hash;  // asked for once there are several to choose from
        std::vector<size_t> members;
    };
    while (!waiting.empty()) {
        EqualSoFar set = std::move(waiting.back());
        waiting.pop_back();
        if (set.members.size() < 2) {
            counted((size - set.offset) * static_cast<long long>(set.members.size()));
            continue;
        }
        if (set.offset >= size) {
            keepGroup(files, set.members);
            continue;
        }
        const size_t length = static_cast<size_t>(std::min<long long>(static_cast<long long>(block_), size - set.offset));
        const long long next = set.offset + static_cast<long long>(length);
        std::vector<size_t> pending = std::move(set.members);
        while (!pending.empty()) {
            std::vector<Distinct> distinct;
            std::vector<size_t> later;
            // Members whose block matched none held: by their block's hash.
            std::vector<std::pair<uint64_t, size_t>> unheld;
            for (size_t member : pending) {
                if (stopRequested()) return;
                if (!members[member].reader.readAt(set.offset, incoming.data(), length)) {
                    ++found_.unreadable;
                    counted(size - set.offset);
                    continue;
                }
                // Hashed only where there is a choice: a group of copies has one
                // distinct block, and comparing it straight away is cheaper.
                std::optional<uint64_t> hash;
                if (distinct.size() > 1) hash = blockHash(incoming.data(), length);
                auto same = std::find_if(distinct.begin(), distinct.end(), [&](Distinct& d) {
                    if (hash && !d.hash) d.hash = blockHash(d.bytes.data(), length);
                    return (!hash || *d.hash == *hash) && sameBytes(d.bytes.data(), incoming.data(), length);
                });
                if (same != distinct.end()) {
                    same->members.push_back(member);
                } else if (distinct.size() < distinctBlocksAtOnce) {
                    distinct.push_back(Distinct{std::move(incoming), hash, {member}});
                    incoming = spareBuffer();
                } else if (set.oneHash) {
                    later.push_back(member);  // blocks that hash alike: read again, a pass at a time
                    continue;
                } else {
                    unheld.emplace_back(*hash, member);  // hashed: sixteen are held
                    continue;
                }
                counted(static_cast<long long>(length));
            }
            // The first distinct set is followed here; the rest go to whoever is free.
            std::vector<EqualSoFar> parts;
            for (Distinct& d : distinct) {
                parts.push_back(EqualSoFar{std::move(d.members), next});
                spare_.push_back(std::move(d.bytes));
            }
            // A block no other shares the hash of is like no other: that file is
            // no copy, and its block was read once. Blocks that hash alike are
            // read again, as a set of their own, and compared byte for byte.
            std::stable_sort(unheld.begin(), unheld.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            for (size_t at = 0; at < unheld.size();) {
                size_t end = at + 1;
                while (end < unheld.size() && unheld[end].first == unheld[at].first) ++end;
                if (end - at == 1) {
                    counted(size - set.offset);
                } else {
                    EqualSoFar alike{{}, set.offset, true};
                    for (size_t i = at; i < end; ++i) alike.members.push_back(unheld[i].second);
                    parts.push_back(std::move(alike));
                }
                at = end;
            }
            for (EqualSoFar& part : parts) {
                if (part.members.size() < 2) {
                    counted((size - part.offset) * static_cast<long long>(part.members.size()));
                } else if (waiting.empty()) {
                    waiting.push_back(std::move(part));
                } else {
                    shared_.offer(Task{shared, std::move(part)});
                }
            }
            pending = std::move(later);
        }
    }
    spare_.push_back(std::move(incoming));
}

// Files equal to their last byte: a group, if they are still the files found.
void Comparer::keepGroup(SameSize& files, const std::vector<size_t>& equal) {
    std::vector<Member>& members = files.members;
    const std::vector<CopyCandidate>& listed = shared_.request.files;
    std::vector<size_t> still;
    for (size_t member : equal) {
        if (sameAsFound(listed[members[member].file].identity, members[member].reader.identity()))
            still.push_back(member);
        else
            ++found_.changed;
    }
    if (still.size() < 2) return;
    // The copy made first is kept, as the original usually is; among equals the
    // one listed first (members are in the order listed).
    const size_t kept = *std::min_element(still.begin(), still.end(), [&](size_t a, size_t b) {
        return members[a].reader.created() < members[b].reader.created();
    });
    CopyGroup group;
    group.kept = members[kept].file;
    for (size_t member : still) {
        if (member == kept) continue;
        group.extra.push_back(members[member].file);
        // Another name of the same data keeps its space taken.
        if (members[member].reader.isOnlyName()) found_.spaceOfExtras += members[member].reader.spaceHeld();
    }
    found_.groups.push_back(std::move(group));
}

}  // namespace

CopiesFound findIdenticalFiles(const CompareRequest& request, CompareObserver& observer) {
    return Comparison(request, observer).run();
}
