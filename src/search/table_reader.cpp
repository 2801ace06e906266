#include "search/table_reader.h"

#include "toolkit/raw_volume.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// A stretch of the table read at once: large enough that reading it costs far
// more than handing it out, small enough that Escape is heard within a
// millisecond or two. Whole records and whole clusters, since both are powers
// of two and a record is at most 64 KB.
constexpr size_t stretchLeast = 1024 * 1024;
constexpr size_t mostThreads = 8;  // each holds a stretch of the table and a part

// The table in stretches, each read and parsed by whichever thread is free and
// taken into the records in the table's order, so that reading and parsing run
// on every core while the records come out as one reading in order would leave
// them.
class TableReader {
public:
    TableReader(RawVolume& volume, const Geometry& geometry, const TableLayout& layout, TableRecords& records,
                const std::function<bool()>& stop, const std::function<void(uint32_t)>& progress)
        : volume_(volume), geometry_(geometry), layout_(layout), records_(records), stop_(stop), progress_(progress),
          stretchBytes_(std::max<size_t>(stretchLeast, geometry.clusterBytes)),
          perStretch_(static_cast<uint32_t>(stretchBytes_ / geometry.recordBytes)) {
        if (!layout.extents.empty())  // the layout keeps every extent on the volume
            tableBytes_ = (layout.starts.back() + layout.extents.back().clusters) * geometry.clusterBytes;
        stretches_ = static_cast<size_t>((uint64_t{layout.records} + perStretch_ - 1) / perStretch_);
    }

    TableRead run() {
        const size_t threads = std::min<size_t>(
            std::clamp<size_t>(std::thread::hardware_concurrency(), 1, mostThreads), std::max<size_t>(stretches_, 1));
        inFlight_ = 2 * threads;
        ready_.resize(inFlight_);
        std::vector<std::thread> helpers;
        for (size_t i = 1; i < threads; ++i) {
            try {
                helpers.emplace_back([this] { work(); });
            } catch (const std::system_error&) {
                break;  // no more threads to be had: fewer read
            }
        }
        work();
        for (std::thread& helper : helpers) helper.join();
        if (failure_) std::rethrow_exception(failure_);  // out of memory: as if read on this thread
        const uint32_t read = std::min<uint64_t>(static_cast<uint64_t>(taken_) * perStretch_, layout_.records);
        if (refused_ || !records_.finish(read)) return TableRead::refused;
        return read == layout_.records ? TableRead::whole : TableRead::stopped;
    }

private:
    struct Parsed {
        bool present = false;
        bool sound = false;
        TablePart part;
    };

    void work() {
        SectorBuffer buffer(static_cast<size_t>(std::min<unsigned long long>(stretchBytes_, tableBytes_)));
        TablePart part;
        try {
            for (;;) {
                size_t stretch;
                {
                    std::unique_lock<std::mutex> guard(lock_);
                    // Never more than a few stretches ahead of the one to be taken next,
                    // so that a slow stretch does not leave parts piling up.
                    changed_.wait(guard, [&] { return ended() || next_ < taken_ + inFlight_; });
                    if (ended()) return;
                    stretch = next_++;
                }
                const bool sound = buffer.data() && parse(stretch, buffer, part);
                std::lock_guard<std::mutex> guard(lock_);
                Parsed& slot = ready_[stretch % inFlight_];
                slot.present = true;
                slot.sound = sound;
                std::swap(slot.part, part);
                takeReady();
                changed_.notify_all();
            }
        } catch (...) {
            std::lock_guard<std::mutex> guard(lock_);
            if (!failure_) failure_ = std::current_exception();
            changed_.notify_all();
        }
    }

    bool ended() const { return failure_ || refused_ || stopped_ || next_ >= stretches_; }

    // Takes the stretches parsed, in order, as far as they follow each other.
    // Asking to stop and telling progress happen here, one thread at a time.
    void takeReady() {
        for (;;) {
            Parsed& slot = ready_[taken_ % inFlight_];
            if (!slot.present || refused_ || stopped_ || failure_) return;
            if (stop_()) {
                stopped_ = true;
                return;
            }
            slot.present = false;
            if (!slot.sound || !records_.take(slot.part)) {
                refused_ = true;
                return;
            }
            ++taken_;
            progress_(static_cast<uint32_t>(std::min<uint64_t>(static_cast<uint64_t>(taken_) * perStretch_, layout_.records)));
        }
    }

    // Reads stretch `stretch` and parses its records into `part`.
    bool parse(size_t stretch, SectorBuffer& buffer, TablePart& part) {
        const uint32_t first = static_cast<uint32_t>(stretch * perStretch_);
        const uint32_t count = std::min(perStretch_, layout_.records - first);
        part.clearFor(count);
        const unsigned long long offset = static_cast<unsigned long long>(first) * geometry_.recordBytes;
        // Whole clusters, which the table's extents hold: the records end inside them.
        const unsigned long long wanted = static_cast<unsigned long long>(count) * geometry_.recordBytes;
        const unsigned long long rest = wanted % geometry_.clusterBytes;
        const unsigned long long bytes = std::min<unsigned long long>(
            wanted + (rest ? geometry_.clusterBytes - rest : 0), tableBytes_ - offset);
        uint64_t steps = 0;  // the layout's reading counted its work; this reading's is one pass
        if (bytes < wanted || bytes > buffer.size() ||
            !readTableBytes(volume_, geometry_, layout_.extents, layout_.starts, offset, buffer.data(),
                            static_cast<size_t>(bytes), steps))
            return false;
        for (uint32_t i = 0; i < count; ++i) {
            unsigned char* record = buffer.data() + static_cast<size_t>(i) * geometry_.recordBytes;
            if (!records_.add(part, first + i, record, geometry_.recordBytes)) return false;
        }
        return true;
    }

    RawVolume& volume_;
    const Geometry& geometry_;
    const TableLayout& layout_;
    TableRecords& records_;
    const std::function<bool()>& stop_;
    const std::function<void(uint32_t)>& progress_;
    const size_t stretchBytes_;
    const uint32_t perStretch_;
    unsigned long long tableBytes_ = 0;
    size_t stretches_ = 0;

    std::mutex lock_;
    std::condition_variable changed_;
    size_t inFlight_ = 1;
    std::vector<Parsed> ready_;  // parsed stretches waiting for those before them, by stretch % inFlight_
    size_t next_ = 0;            // the next stretch to read
    size_t taken_ = 0;           // stretches taken into the records
    bool stopped_ = false, refused_ = false;
    std::exception_ptr failure_;
};

}  // namespace

TableRead readTable(RawVolume& volume, const Geometry& geometry, const TableLayout& layout, TableRecords& records,
                    const std::function<bool()>& stop, const std::function<void(uint32_t)>& progress) {
    if (!records.reserve(layout.records, geometry.clusterBytes)) return TableRead::refused;
    return TableReader(volume, geometry, layout, records, stop, progress).run();
}
