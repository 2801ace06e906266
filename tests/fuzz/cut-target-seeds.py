"""Cuts the small fuzz targets' seeds from the whole-volume seeds:
   cut-target-seeds.py SEEDS_DIR
table/: the whole-volume seeds themselves;
record/: each record in use, as it lies on the disk (update sequence applied);
layout/: the boot sector's first 512 bytes and the table's first 24 records (the
         extension record a split table keeps its second piece in among them);
boot/: the whole seed, its boot sector claiming the sectors the seed holds."""
import os
import struct
import sys

seeds = sys.argv[1]
for folder in ("table", "record", "layout", "boot"):
    os.makedirs(os.path.join(seeds, folder), exist_ok=True)
for name in sorted(os.listdir(seeds)):
    path = os.path.join(seeds, name)
    if not os.path.isfile(path) or name == "complete":
        continue
    data = bytearray(open(path, "rb").read())
    sector = struct.unpack_from("<H", data, 0x0B)[0]
    cluster = sector * data[0x0D]
    per_record = struct.unpack_from("<b", data, 0x40)[0]
    record_bytes = per_record * cluster if per_record > 0 else 1 << -per_record
    table = struct.unpack_from("<Q", data, 0x30)[0] * cluster
    open(os.path.join(seeds, "table", name), "wb").write(bytes(data))
    kept = 0
    for at in range(table, len(data) - record_bytes + 1, record_bytes):
        record = data[at:at + record_bytes]
        if record[:4] == b"FILE" and struct.unpack_from("<H", record, 0x16)[0] & 1:
            open(os.path.join(seeds, "record", "%s-%d" % (name, kept)), "wb").write(record)
            kept += 1
    open(os.path.join(seeds, "layout", name), "wb").write(bytes(data[:512]) + bytes(data[table:table + 24 * record_bytes]))
    boot = bytearray(data)
    struct.pack_into("<Q", boot, 0x28, len(boot) // sector)
    open(os.path.join(seeds, "boot", name), "wb").write(bytes(boot))
