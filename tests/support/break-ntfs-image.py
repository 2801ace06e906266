"""Copies an NTFS image with its file table made wrong in one way, for the fast
scan to refuse:  break-ntfs-image.py IMAGE COPY KIND, KIND one of
bad-fixup, missing-parent, truncated: a record, a name, the table cut short;
extends-far: a record says it extends record 0xFFFFFFF0;
huge-table: the table's own sizes claim 2^41 bytes;
loop: a folder is its own parent;
long-name: a name claims 255 characters where its attribute holds fewer;
small-volume: the boot sector claims a volume that ends inside the table;
overlapping-runs: the table's second run maps its first run's clusters again;
chain: every file a folder inside the one before, paths far past what Windows allows;
short-table-data: record 0's $DATA attribute, the one that says where the table lies, is
  non-resident but 16 bytes long, the last of the record, ending at its last byte;
claims-more-than-the-device: the boot sector claims 2^40 sectors, and the table's runs and
  sizes agree with it: a billion records, the last of them back inside the image."""
import struct
import subprocess
import sys

image, copy, kind = sys.argv[1:4]
with open(image, "rb") as f:
    boot = f.read(512)
sector = struct.unpack_from("<H", boot, 0x0B)[0]
cluster = sector * boot[0x0D]
table = struct.unpack_from("<Q", boot, 0x30)[0] * cluster
per_record = struct.unpack_from("<b", boot, 0x40)[0]
record_bytes = per_record * cluster if per_record > 0 else 1 << -per_record


def user_record_with_name(f):
    """The first user record in use that has a file name: its offset and the name's."""
    for number in range(40, 4000):
        offset = table + number * record_bytes
        f.seek(offset)
        record = f.read(record_bytes)
        if record[:4] != b"FILE" or not struct.unpack_from("<H", record, 0x16)[0] & 1:
            continue
        at = struct.unpack_from("<H", record, 0x14)[0]
        while at + 8 <= record_bytes:
            kind_, length = struct.unpack_from("<II", record, at)
            if kind_ == 0xFFFFFFFF or length == 0:
                break
            if kind_ == 0x30 and record[at + 8] == 0:
                value = at + struct.unpack_from("<H", record, at + 0x14)[0]
                return offset, value
            at += length
    raise SystemExit("no user record with a name")


def read_record(f, number):
    """Record `number` (the table's first extent), its update sequence undone."""
    f.seek(table + number * record_bytes)
    record = bytearray(f.read(record_bytes))
    usa, count = struct.unpack_from("<HH", record, 4)
    for i in range(1, count):
        record[i * 512 - 2:i * 512] = record[usa + 2 * i:usa + 2 * i + 2]
    return record


def write_record(f, number, record):
    """Writes a record back with its update sequence applied again."""
    record = bytearray(record)
    usa, count = struct.unpack_from("<HH", record, 4)
    for i in range(1, count):
        record[usa + 2 * i:usa + 2 * i + 2] = record[i * 512 - 2:i * 512]
        record[i * 512 - 2:i * 512] = record[usa:usa + 2]
    f.seek(table + number * record_bytes)
    f.write(record)


def attributes(record):
    """(type, offset) of each attribute of a fixed-up record."""
    at = struct.unpack_from("<H", record, 0x14)[0]
    while at + 8 <= len(record):
        kind_, length = struct.unpack_from("<II", record, at)
        if kind_ == 0xFFFFFFFF or length == 0:
            return
        yield kind_, at
        at += length


def names(record):
    """Offsets of the values of a record's file names."""
    return [at + struct.unpack_from("<H", record, at + 0x14)[0] for kind_, at in attributes(record)
            if kind_ == 0x30 and record[at + 8] == 0]


def first_extent_records(f):
    """How many records the table's first run holds."""
    record = read_record(f, 0)
    data = [at for kind_, at in attributes(record) if kind_ == 0x80][0]
    runs = data + struct.unpack_from("<H", record, data + 0x20)[0]
    clusters = int.from_bytes(record[runs + 1:runs + 1 + (record[runs] & 15)], "little")
    return clusters * cluster // record_bytes


def in_use_files(f, first=24, last=None):
    """Numbers of base records in use that are files with a name, in the table's first run."""
    found = []
    for number in range(first, min(last or 1 << 30, first_extent_records(f))):
        f.seek(table + number * record_bytes)
        head = f.read(0x28)
        if len(head) < 0x28 or head[:4] != b"FILE":
            continue
        flags = struct.unpack_from("<H", head, 0x16)[0]
        if flags & 1 and not flags & 2 and struct.unpack_from("<Q", head, 0x20)[0] == 0:
            if names(read_record(f, number)):
                found.append(number)
    return found


def table_pieces(f):
    """How many runs of clusters the table's own data lies in."""
    f.seek(table)
    record = bytearray(f.read(record_bytes))
    usa, count = struct.unpack_from("<HH", record, 4)
    for i in range(1, count):
        record[i * 512 - 2:i * 512] = record[usa + 2 * i:usa + 2 * i + 2]
    at = struct.unpack_from("<H", record, 0x14)[0]
    while True:
        kind_, length = struct.unpack_from("<II", record, at)
        if kind_ == 0x80:
            runs, p = 0, at + struct.unpack_from("<H", record, at + 0x20)[0]
            while record[p]:
                p += 1 + (record[p] & 15) + (record[p] >> 4)
                runs += 1
            return runs
        at += length


if kind == "table-in-pieces":  # a check of the image, not a broken copy
    with open(image, "rb") as f:
        pieces = table_pieces(f)
    if pieces < 2:
        raise SystemExit("the image's file table lies in one piece: the fast scan's test would not see a fragmented one")
    print("the image's file table lies in %d pieces" % pieces)
    sys.exit(0)

subprocess.run(["cp", "--sparse=always", image, copy], check=True)  # the image is mostly holes
with open(copy, "r+b") as f:
    if kind == "truncated":
        f.truncate(table + 64 * record_bytes)
    elif kind in ("extends-far", "long-name"):
        number = in_use_files(f, 24, 400)[0]
        record = read_record(f, number)
        if kind == "extends-far":
            struct.pack_into("<Q", record, 0x20, 0x00010000FFFFFFF0)
        else:
            record[names(record)[0] + 0x40] = 255
        write_record(f, number, record)
    elif kind == "loop":  # the folder of a file (not one of the system's) becomes its own parent
        parents = (struct.unpack_from("<Q", read_record(f, n), names(read_record(f, n))[0])[0] & 0xFFFFFFFFFFFF
                   for n in in_use_files(f, 24, 400))
        number = next(p for p in parents if p >= 16)
        record = read_record(f, number)
        for name in names(record):
            struct.pack_into("<Q", record, name, (struct.unpack_from("<H", record, 0x10)[0] << 48) | number)
        write_record(f, number, record)
    elif kind in ("huge-table", "overlapping-runs"):
        record = read_record(f, 0)
        data = [at for kind_, at in attributes(record) if kind_ == 0x80][0]
        if kind == "huge-table":
            struct.pack_into("<QQQ", record, data + 0x28, 1 << 41, 1 << 41, 1 << 41)
        else:
            runs = data + struct.unpack_from("<H", record, data + 0x20)[0]
            second = runs + 1 + (record[runs] & 15) + (record[runs] >> 4)
            lengths, offsets = record[second] & 15, record[second] >> 4
            at = second + 1 + lengths
            record[at:at + offsets] = bytes(offsets)  # no move: the same clusters as the run before
        write_record(f, 0, record)
    elif kind == "short-table-data":
        record = read_record(f, 0)
        kept = b"".join(bytes(record[at:at + struct.unpack_from("<I", record, at + 4)[0]])
                        for kind_, at in attributes(record) if not (kind_ == 0x80 and record[at + 9] == 0))
        first = struct.unpack_from("<H", record, 0x14)[0]
        filler = record_bytes - 16 - first - len(kept)
        record[first:first + len(kept)] = kept
        struct.pack_into("<IIBBHHH", record, first + len(kept), 0x40, filler, 0, 0, 0, 0, 0)
        struct.pack_into("<IHH", record, first + len(kept) + 0x10, filler - 0x18, 0x18, 0)
        record[record_bytes - 16:] = struct.pack("<IIBBHHH", 0x80, 16, 1, 0, 0, 0, 0)
        struct.pack_into("<I", record, 0x18, record_bytes)
        write_record(f, 0, record)
    elif kind == "claims-more-than-the-device":
        f.seek(0x28)
        f.write(struct.pack("<Q", 1 << 40))
        record = read_record(f, 0)
        data = [at for kind_, at in attributes(record) if kind_ == 0x80][0]
        runs = data + struct.unpack_from("<H", record, data + 0x20)[0]
        lengths, offsets = record[runs] & 15, record[runs] >> 4
        first = int.from_bytes(record[runs + 1:runs + 1 + lengths], "little")
        lcn = int.from_bytes(record[runs + 1 + lengths:runs + 1 + lengths + offsets], "little")
        far, huge, last = 1 << 32, 1 << 28, 16
        # One run each: the first where it was, a huge one past the image, the last just after the first.
        new = (bytes([0x42]) + first.to_bytes(2, "little") + lcn.to_bytes(4, "little") +
               bytes([0x54]) + huge.to_bytes(4, "little") + (far - lcn).to_bytes(5, "little", signed=True) +
               bytes([0x51]) + last.to_bytes(1, "little") + (lcn + first - far).to_bytes(5, "little", signed=True) + b"\0")
        grown = bytearray(record[data:runs]) + new
        grown += bytes(-len(grown) % 8)
        struct.pack_into("<I", grown, 4, len(grown))
        old = struct.unpack_from("<I", record, data + 4)[0]
        used = struct.unpack_from("<I", record, 0x18)[0]
        body = record[:data] + grown + record[data + old:used]
        record[:len(body)] = body
        struct.pack_into("<I", record, 0x18, len(body))
        clusters = first + huge + last
        struct.pack_into("<Q", record, data + 0x18, clusters - 1)
        struct.pack_into("<QQQ", record, data + 0x28, clusters * cluster, clusters * cluster, clusters * cluster)
        write_record(f, 0, record)
    elif kind == "small-volume":
        f.seek(0x28)
        f.write(struct.pack("<Q", (table + 32 * record_bytes) // sector))
    elif kind == "chain":  # the last file stays one, at the bottom
        files = in_use_files(f)
        previous = 5
        for number in files:
            record = read_record(f, number)
            if number != files[-1]:
                struct.pack_into("<H", record, 0x16, 3)
            reference = (read_record(f, previous)[0x10] | read_record(f, previous)[0x11] << 8) << 48 | previous
            for name in names(record):
                struct.pack_into("<Q", record, name, reference)
            write_record(f, number, record)
            previous = number
        print("a chain of %d folders" % len(files))
    else:
        offset, name = user_record_with_name(f)
        if kind == "bad-fixup":
            f.seek(offset + 510)  # the end of the record's first stride no longer checks out
            f.write(b"\xde\xad")
        elif kind == "missing-parent":
            f.seek(offset + name)  # a parent record that does not exist
            f.write(struct.pack("<Q", 0x0001000000FFFFF0))
        else:
            raise SystemExit("unknown kind " + kind)
