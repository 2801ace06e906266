"""Copies an NTFS image with its file table made wrong in one way, for the fast
scan to refuse:  break-ntfs-image.py IMAGE COPY bad-fixup|missing-parent|truncated"""
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
