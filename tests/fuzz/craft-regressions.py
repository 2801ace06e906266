"""Makes the crafted inputs kept as regression cases, from the fuzz seeds:
   craft-regressions.py SEEDS_DIR REGRESSIONS_DIR
Each is a way a volume once made the table reader read past its bytes, believe
more than the device holds, or work more than the volume's size asks for."""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ntfs_records import attributes, fixed, run, unfixed  # noqa: E402

seeds, out = sys.argv[1:3]


class Volume:
    def __init__(self, data):
        self.data = bytearray(data)
        self.sector = struct.unpack_from("<H", self.data, 0x0B)[0]
        self.cluster = self.sector * self.data[0x0D]
        per_record = struct.unpack_from("<b", self.data, 0x40)[0]
        self.record_bytes = per_record * self.cluster if per_record > 0 else 1 << -per_record
        self.table = struct.unpack_from("<Q", self.data, 0x30)[0] * self.cluster

    def read(self, number):
        at = self.table + number * self.record_bytes
        return fixed(self.data[at:at + self.record_bytes])

    def write(self, number, record):
        at = self.table + number * self.record_bytes
        self.data[at:at + self.record_bytes] = unfixed(record)


def end_of_attributes(record):
    at = struct.unpack_from("<H", record, 0x14)[0]
    for _, at_ in attributes(record):
        at = at_ + struct.unpack_from("<I", record, at_ + 4)[0]
    return at


def save(target, name, data):
    os.makedirs(os.path.join(out, target), exist_ok=True)
    open(os.path.join(out, target, name), "wb").write(bytes(data))


def file_record_with_data(folder, non_resident):
    for name in sorted(os.listdir(os.path.join(seeds, folder))):
        record = fixed(open(os.path.join(seeds, folder, name), "rb").read())
        if struct.unpack_from("<H", record, 0x16)[0] & 2 or struct.unpack_from("<Q", record, 0x20)[0]:
            continue
        for kind, at in attributes(record):
            if kind == 0x80 and record[at + 8] == (1 if non_resident else 0) and record[at + 9] == 0:
                return record, at
    raise SystemExit("no such record in " + folder)


# A 4 KB record whose last attribute says it is non-resident but is 16 bytes
# long, ending at the record's last byte: its cluster range lies past the record.
record, _ = file_record_with_data("record", False)
if len(record) < 4096:
    big = [n for n in sorted(os.listdir(os.path.join(seeds, "record"))) if n.startswith("large-records")]
    record = fixed(open(os.path.join(seeds, "record", big[-1]), "rb").read())
end = end_of_attributes(record)
size = len(record)
filler = size - 16 - end
struct.pack_into("<IIBBHHH", record, end, 0x40, filler, 0, 0, 0, 0, 0)
struct.pack_into("<IHH", record, end + 0x10, filler - 0x18, 0x18, 0)
short = end + filler
record[short:size] = struct.pack("<IIBBHHH", 0x80, 16, 1, 0, 0, 0, 0)
struct.pack_into("<I", record, 0x18, size)
save("record", "short-non-resident-attribute", unfixed(record))

# The same as record 0 of a table of 4 KB records: its $DATA attribute, the one
# that says where the table lies, is the short one at the record's end.
volume = Volume(open(os.path.join(seeds, "layout", "large-records"), "rb").read())
volume.table = 512
record0 = volume.read(0)
kept = [(kind, at) for kind, at in attributes(record0)]
body = b"".join(bytes(record0[at:at + struct.unpack_from("<I", record0, at + 4)[0]])
                for kind, at in kept if not (kind == 0x80 and record0[at + 9] == 0))
first = struct.unpack_from("<H", record0, 0x14)[0]
size = len(record0)
filler = size - 16 - first - len(body)
record0[first:first + len(body)] = body
struct.pack_into("<IIBBHHH", record0, first + len(body), 0x40, filler, 0, 0, 0, 0, 0)
struct.pack_into("<IHH", record0, first + len(body) + 0x10, filler - 0x18, 0x18, 0)
record0[size - 16:size] = struct.pack("<IIBBHHH", 0x80, 16, 1, 0, 0, 0, 0)
struct.pack_into("<I", record0, 0x18, size)
volume.write(0, record0)
save("layout", "short-non-resident-table-data", volume.data)

# A file whose data size is 8 EB though its runs allocate a few clusters.
record, at = file_record_with_data("record", True)
struct.pack_into("<Q", record, at + 0x30, (1 << 63) - 1)
save("record", "size-beyond-allocation", unfixed(record))

def replace_runs(record, at, runs):
    """The attribute at `at` with its run list replaced, grown as the runs need."""
    old = struct.unpack_from("<I", record, at + 4)[0]
    offset = struct.unpack_from("<H", record, at + 0x20)[0]
    attribute = bytearray(record[at:at + offset]) + runs
    attribute += bytes(-len(attribute) % 8)
    struct.pack_into("<I", attribute, 4, len(attribute))
    used = end_of_attributes(record) + 8
    body = record[:at] + attribute + record[at + old:used]
    record[:len(body)] = body
    struct.pack_into("<I", record, 0x18, len(body))


def table_runs(record0):
    """Where record 0's $DATA attribute is, its runs, and its first run's length and start."""
    data = [at for kind, at in attributes(record0) if kind == 0x80][0]
    runs = data + struct.unpack_from("<H", record0, data + 0x20)[0]
    offset_bytes, length_bytes = record0[runs] >> 4, record0[runs] & 15
    clusters = int.from_bytes(record0[runs + 1:runs + 1 + length_bytes], "little")
    lcn = int.from_bytes(record0[runs + 1 + length_bytes:runs + 1 + length_bytes + offset_bytes], "little")
    return data, runs, clusters, lcn


# A boot sector that claims 2^40 sectors, and a table consistent with that
# claim: its first run where it was, a huge one far past the device's end, and
# its last run (with its last record) back inside the device: a billion records.
volume = Volume(open(os.path.join(seeds, "boot", "small-records"), "rb").read())
struct.pack_into("<Q", volume.data, 0x28, 1 << 40)
record0 = volume.read(0)
data, runs, first, lcn = table_runs(record0)
far, huge, last = 1 << 32, 1 << 28, 16
replace_runs(record0, data, run(first, lcn) + run(huge, far - lcn) + run(last, lcn + first - far) + b"\0")
clusters = first + huge + last
struct.pack_into("<Q", record0, data + 0x18, clusters - 1)
struct.pack_into("<QQQ", record0, data + 0x28, clusters * volume.cluster, clusters * volume.cluster,
                 clusters * volume.cluster)
volume.write(0, record0)
save("boot", "claims-more-than-the-device", volume.data)

# Two runs of the table far apart whose cluster numbers, times the cluster
# size, name the same bytes once the product leaves 64 bits.
volume = Volume(open(os.path.join(seeds, "table", "small-records"), "rb").read())
struct.pack_into("<Q", volume.data, 0x28, 1 << 62)
record0 = volume.read(0)
data, runs, first, lcn = table_runs(record0)
half = first // 2
wrap = (1 << 64) // volume.cluster  # this many clusters on, the byte offset wraps to the same place
replace_runs(record0, data, run(half, lcn) + run(first - half, wrap) + b"\0")
volume.write(0, record0)
save("table", "runs-that-wrap-to-the-same-bytes", volume.data)

# An attribute list that names the same piece of the table thousands of times.
volume = Volume(open(os.path.join(seeds, "layout", "attribute-list"), "rb").read())
boot = bytes(volume.data[:512])
volume.table = 512  # the layout target lays what follows the boot sector at the table's place
record0 = volume.read(0)
listed = [at for kind, at in attributes(record0) if kind == 0x20][0]
value = listed + struct.unpack_from("<H", record0, listed + 0x14)[0]
length = struct.unpack_from("<I", record0, listed + 0x10)[0]
entries = record0[value:value + length]
pieces = [entries[i:i + 0x20] for i in range(0, len(entries), 0x20)]
extension = [p for p in pieces if struct.unpack_from("<I", p, 0)[0] == 0x80 and struct.unpack_from("<Q", p, 0x10)[0] & 0xFFFFFFFFFFFF][0]
many = b"".join(p for p in pieces if p is not extension) + extension * 4000
# The list no longer fits the record: it goes to clusters of its own after the table's first records.
list_cluster = (len(volume.data) - 512 + volume.cluster - 1) // volume.cluster + 1
clusters = (len(many) + volume.cluster - 1) // volume.cluster
table_cluster = struct.unpack_from("<Q", boot, 0x30)[0]
header = bytearray(0x48)
struct.pack_into("<IIBBHHH", header, 0, 0x20, 0x48, 1, 0, 0, 0, record0[listed + 0x0E])
struct.pack_into("<QQHH", header, 0x10, 0, clusters - 1, 0x40, 0)
struct.pack_into("<QQQ", header, 0x28, clusters * volume.cluster, len(many), len(many))
header[0x40:0x48] = bytes([0x34]) + clusters.to_bytes(3, "little") + (table_cluster + list_cluster).to_bytes(4, "little")
rest = record0[listed + struct.unpack_from("<I", record0, listed + 4)[0]:end_of_attributes(record0) + 8]
record0[listed:listed + len(header) + len(rest)] = header + rest
struct.pack_into("<I", record0, 0x18, listed + len(header) + len(rest))
volume.write(0, record0)
table = volume.data[512:]
save("layout", "one-piece-named-thousands-of-times", boot + table + bytes(list_cluster * volume.cluster - len(table)) + many)
