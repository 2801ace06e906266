#!/usr/bin/env python3
"""Makes, for the layout target, tables whose record 0 names ENTRIES extension
records, each holding a piece of the table's $DATA of a hundred one-cluster runs
that all point at the same cluster. A reader that walked every run for every
entry, and looked for shared clusters only at the end, took time that grew with
the square of the entries.   craft-many-pieces.py SEED OUT_DIR ENTRIES...
Made anew by each run of scripts/fuzz.sh, never kept."""
import os
import struct
import sys

seed, out = sys.argv[1:3]
counts = [int(n) for n in sys.argv[3:]]
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ntfs_records import attributes, fixed, run, unfixed  # noqa: E402
data = open(seed, "rb").read()
boot = bytearray(data[:512])
sector = struct.unpack_from("<H", boot, 0x0B)[0]
cluster = sector * boot[0x0D]
per_record = struct.unpack_from("<b", boot, 0x40)[0]
record_bytes = per_record * cluster if per_record > 0 else 1 << -per_record
table_cluster = struct.unpack_from("<Q", boot, 0x30)[0]
# The volume as long as the layout target's device (16 MB): room for the records.
struct.pack_into("<Q", boot, 0x28, 16 * 1024 * 1024 // sector - 1)


def non_resident(kind, lowest, clusters, runs, allocated, size):
    header = bytearray(0x40)
    length = 0x40 + len(runs)
    length += -length % 8
    struct.pack_into("<IIBBHHH", header, 0, kind, length, 1, 0, 0x40, 0, 0)
    struct.pack_into("<QQHH", header, 0x10, lowest, lowest + clusters - 1, 0x40, 0)
    struct.pack_into("<QQQ", header, 0x28, allocated, size, size)
    return bytes(header) + runs + bytes(length - 0x40 - len(runs))


def record_with(template, number, base, attribute):
    record = bytearray(template)
    first = struct.unpack_from("<H", record, 0x14)[0]
    body = attribute + struct.pack("<II", 0xFFFFFFFF, 0)
    record[first:] = bytes(len(record) - first)
    record[first:first + len(body)] = body
    struct.pack_into("<HH", record, 0x16, 1, 0)  # in use, a file
    struct.pack_into("<I", record, 0x18, first + len(body))
    struct.pack_into("<Q", record, 0x20, base)
    struct.pack_into("<I", record, 0x2C, number)
    return record


table = data[512:]
record0 = fixed(table[:record_bytes])
sequence = struct.unpack_from("<H", record0, 0x10)[0]
for entries in counts:
    records = entries + 1
    table_clusters = (records * record_bytes + cluster - 1) // cluster
    shared = table_cluster + table_clusters + 4  # the one cluster every extension piece points at
    list_cluster = shared + 1
    entry_list = bytearray()
    for number in range(1, records):
        lowest = table_clusters + (number - 1) * 100
        entry_list += struct.pack("<IHBBQQH", 0x80, 0x20, 0, 0x1A, lowest, number, 0) + bytes(6)
    list_clusters = (len(entry_list) + cluster - 1) // cluster
    total = table_clusters + entries * 100
    first_runs = run(table_clusters, table_cluster) + b"\0"
    # Record 0: its attribute list in clusters of its own, and the first piece of
    # the table's data, which maps the records themselves.
    head = bytearray(record0)
    kept = b"".join(bytes(head[at:at + struct.unpack_from("<I", head, at + 4)[0]])
                    for kind, at in attributes(head) if kind in (0x10, 0x30))
    list_attribute = non_resident(0x20, 0, list_clusters, run(list_clusters, list_cluster) + b"\0",
                                  list_clusters * cluster, len(entry_list))
    data_attribute = non_resident(0x80, 0, table_clusters, first_runs, total * cluster, records * record_bytes)
    first = struct.unpack_from("<H", head, 0x14)[0]
    body = kept + list_attribute + data_attribute + struct.pack("<II", 0xFFFFFFFF, 0)
    if first + len(body) > record_bytes:
        raise SystemExit("record 0 cannot hold its attributes")
    head[first:] = bytes(len(head) - first)
    head[first:first + len(body)] = body
    struct.pack_into("<I", head, 0x18, first + len(body))
    out_table = bytearray(unfixed(head))
    piece_runs = run(1, shared) + run(1, 0) * 99 + b"\0"
    for number in range(1, records):
        lowest = table_clusters + (number - 1) * 100
        attribute = non_resident(0x80, lowest, 100, piece_runs, 0, 0)
        out_table += unfixed(record_with(record0, number, sequence << 48, attribute))
    out_table += bytes(table_clusters * cluster - len(out_table))
    image = bytes(boot) + bytes(out_table)
    image += bytes((list_cluster - table_cluster) * cluster - len(out_table)) + bytes(entry_list)
    os.makedirs(out, exist_ok=True)
    open(os.path.join(out, "pieces-%d" % entries), "wb").write(image)
