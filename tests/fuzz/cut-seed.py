"""Cuts a small NTFS image down to a fuzz seed: the boot sector and the file table,
nothing after the table (the fuzz target reads zeros there).
   cut-seed.py IMAGE SEED [split]
split: the table's data is cut in two pieces, the second held by an extension
record that record 0's new attribute list names, as on a long-used volume."""
import struct
import sys

image, seed = sys.argv[1:3]
split = len(sys.argv) > 3 and sys.argv[3] == "split"
data = bytearray(open(image, "rb").read())
sector = struct.unpack_from("<H", data, 0x0B)[0]
cluster = sector * data[0x0D]
per_record = struct.unpack_from("<b", data, 0x40)[0]
record_bytes = per_record * cluster if per_record > 0 else 1 << -per_record
table = struct.unpack_from("<Q", data, 0x30)[0] * cluster


def read_record(number):
    at = table + number * record_bytes
    record = bytearray(data[at:at + record_bytes])
    usa, count = struct.unpack_from("<HH", record, 4)
    for i in range(1, count):
        record[i * 512 - 2:i * 512] = record[usa + 2 * i:usa + 2 * i + 2]
    return record


def write_record(number, record):
    record = bytearray(record)
    usa, count = struct.unpack_from("<HH", record, 4)
    for i in range(1, count):
        record[usa + 2 * i:usa + 2 * i + 2] = record[i * 512 - 2:i * 512]
        record[i * 512 - 2:i * 512] = record[usa:usa + 2]
    at = table + number * record_bytes
    data[at:at + record_bytes] = record


def attributes(record):
    at = struct.unpack_from("<H", record, 0x14)[0]
    found = []
    while struct.unpack_from("<I", record, at)[0] != 0xFFFFFFFF:
        length = struct.unpack_from("<I", record, at + 4)[0]
        found.append(bytearray(record[at:at + length]))
        at += length
    return found


def with_attributes(record, found):
    """The record with its attributes replaced by `found`, in order."""
    at = struct.unpack_from("<H", record, 0x14)[0]
    body = b"".join(found) + struct.pack("<II", 0xFFFFFFFF, 0)
    if at + len(body) > record_bytes:
        raise SystemExit("the attributes do not fit the record")
    record[at:] = body + bytes(record_bytes - at - len(body))
    struct.pack_into("<I", record, 0x18, (at + len(body) + 7) & ~7)
    return record


def one_run(lcn, delta_from, clusters):
    """A run list of one run: `clusters` at `lcn`, its offset counted from `delta_from`."""
    length = clusters.to_bytes(8, "little").rstrip(b"\0") or b"\0"
    offset = (lcn - delta_from).to_bytes(8, "little", signed=True)
    while len(offset) > 1 and offset[-1] in (0, 0xFF) and (offset[-2] & 0x80) == (0x80 if offset[-1] else 0):
        offset = offset[:-1]
    return bytes([len(offset) << 4 | len(length)]) + length + offset + b"\0"


def data_attribute(template, first, last, lcn, clusters, sizes):
    header = bytearray(template[:0x40])
    struct.pack_into("<QQH", header, 0x10, first, last, 0x40)
    if not sizes:
        struct.pack_into("<QQQ", header, 0x28, 0, 0, 0)
    body = header + one_run(lcn, 0, clusters)
    body += bytes(-len(body) % 8)
    struct.pack_into("<I", body, 4, len(body))
    return body


record0 = read_record(0)
found = attributes(record0)
data_at = [i for i, a in enumerate(found) if struct.unpack_from("<I", a, 0)[0] == 0x80][0]
runs = found[data_at]
run = struct.unpack_from("<H", runs, 0x20)[0]
lengths, offsets = runs[run] & 15, runs[run] >> 4
clusters = int.from_bytes(runs[run + 1:run + 1 + lengths], "little")
lcn = int.from_bytes(runs[run + 1 + lengths:run + 1 + lengths + offsets], "little", signed=True)
end = lcn * cluster + clusters * cluster

if split:
    extension = 20  # kept free by the system for the table's own extensions
    sequence = struct.unpack_from("<H", record0, 0x10)[0]
    first_part = clusters // 2
    found[data_at] = data_attribute(runs, 0, first_part - 1, lcn, first_part, True)
    second = data_attribute(runs, first_part, clusters - 1, lcn + first_part, clusters - first_part, False)
    entries = b""
    for number, attribute, vcn in [(0, a, 0) for a in found] + [(extension, second, first_part)]:
        entry = struct.pack("<IHBBQQH", struct.unpack_from("<I", attribute, 0)[0], 0x20, 0, 0x1A, vcn,
                            (sequence << 48 if number == 0 else 1 << 48) | number,
                            struct.unpack_from("<H", attribute, 0x0E)[0])
        entries += entry + bytes(0x20 - len(entry))
    listed = bytearray(struct.pack("<IIBBHHH", 0x20, 0, 0, 0, 0, 0, 0x0F)) + struct.pack("<IHBB", len(entries), 0x18, 0, 0)
    listed += entries
    struct.pack_into("<I", listed, 4, len(listed))
    found.insert(1, listed)
    write_record(0, with_attributes(record0, found))
    holder = read_record(extension)
    struct.pack_into("<H", holder, 0x10, 1)
    struct.pack_into("<H", holder, 0x16, 1)
    struct.pack_into("<Q", holder, 0x20, sequence << 48)
    write_record(extension, with_attributes(holder, [second]))

kept = bytes(data[:4096]) + bytes(table - 4096) + bytes(data[table:end])
open(seed, "wb").write(kept)
