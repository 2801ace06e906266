// Drives the fast scan's reading of a volume's file table natively, under the
// sanitizers: the fuzzer's input is the volume. Everything the scan does with
// the bytes before it walks a folder is here: geometry, the table's layout and
// attribute list, every record, the folders placed and their paths joined.
#include "search/table_folders.h"
#include "search/table_layout.h"
#include "search/table_reader.h"
#include "toolkit/raw_volume.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// The volume: the input's bytes, then zeros, up to a size that a crafted boot
// sector may claim past; reads beyond it fail as they do past a disk's end.
constexpr unsigned long long volumeBytes = 64ULL * 1024 * 1024;
const uint8_t* inputBytes = nullptr;
size_t inputSize = 0;

}  // namespace

RawVolume::RawVolume(wchar_t) : handle_(&inputBytes) {}
RawVolume::~RawVolume() = default;

bool RawVolume::read(unsigned long long offset, void* buffer, std::size_t bytes) {
    if (offset % 512 != 0 || bytes % 512 != 0) __builtin_trap();  // raw reads on Windows need whole sectors
    if (offset > volumeBytes || bytes > volumeBytes - offset) return false;
    auto* out = static_cast<unsigned char*>(buffer);
    const size_t present = offset >= inputSize ? 0 : static_cast<size_t>(std::min<unsigned long long>(bytes, inputSize - offset));
    if (present) std::memcpy(out, inputBytes + offset, present);
    std::memset(out + present, 0, bytes - present);
    return true;
}

SectorBuffer::SectorBuffer(std::size_t bytes) {
    data_ = static_cast<unsigned char*>(std::malloc(bytes));
    if (data_) size_ = bytes;
}
SectorBuffer::~SectorBuffer() { std::free(data_); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    inputBytes = data;
    inputSize = size;
    RawVolume volume(L'N');
    Geometry geometry;
    TableLayout layout;
    if (!readGeometry(volume, geometry) || !readTableLayout(volume, geometry, layout)) return 0;
    TableRecords records;
    const TableRead read = readTable(
        volume, geometry, layout, records, [] { return false; }, [](uint32_t) {});
    if (read != TableRead::whole) return 0;
    TableFolders folders(records, 3);
    const std::wstring root = L"N:\\";
    size_t characters = 0;
    for (const TableName& name : records.names()) {
        if (!records.inUse(name.record)) continue;
        if (folders.place(name.parent, name.parentSequence) != TableFolders::Standing::user) continue;
        const std::wstring path = folders.path(name.parent, root);
        if (path.size() != folders.pathLength(name.parent) || path.compare(0, 3, root) != 0) __builtin_trap();
        characters += path.size() + records.text(name).size();
    }
    volatile size_t sink = characters;  // the paths are made to be checked, not kept
    (void)sink;
    return 0;
}
