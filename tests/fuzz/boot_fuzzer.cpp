// The volume's geometry: a boot sector and record 0, on a device exactly as long
// as the input. An input of even length is a device that tells its length; one
// of odd length cannot, and the reader must find its end by reading.
#include "fuzz/fuzz_checks.h"
#include "toolkit/raw_volume.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzDevice& device = fuzzDevice();
    device.bytes.assign(data, data + size);
    device.length = size / 512 * 512;
    device.tellsLength = size % 2 == 0;
    device.reads = 0;
    RawVolume volume(L'N');
    const std::optional<Geometry> geometry = readGeometry(volume);
    if (!geometry) return 0;
    // The device, not the boot sector, says how big the volume is.
    FUZZ_CHECK(geometry->volumeClusters * geometry->clusterBytes <= device.length);
    FUZZ_CHECK(geometry->tableOffset < device.length);
    TableLayout layout;
    const TableRead laidOut = readTableLayout(volume, *geometry, layout, [] { return false; });
    // The layout's steps follow the input, never its square.
    FUZZ_CHECK(layout.work <= 64 + 40 * (size / ntfs::listEntryMinimumBytes) + size);
    if (laidOut != TableRead::whole) return 0;
    checkLayout(*geometry, layout, device.length);
    return 0;
}
