"""What the crafting scripts share of a file record: its update sequence undone
and done again, its attributes, and a run of a run list."""
import struct


def fixed(record):
    record = bytearray(record)
    usa, count = struct.unpack_from("<HH", record, 4)
    for i in range(1, count):
        record[i * 512 - 2:i * 512] = record[usa + 2 * i:usa + 2 * i + 2]
    return record


def unfixed(record):
    record = bytearray(record)
    usa, count = struct.unpack_from("<HH", record, 4)
    for i in range(1, count):
        record[usa + 2 * i:usa + 2 * i + 2] = record[i * 512 - 2:i * 512]
        record[i * 512 - 2:i * 512] = record[usa:usa + 2]
    return record


def attributes(record):
    at = struct.unpack_from("<H", record, 0x14)[0]
    while struct.unpack_from("<I", record, at)[0] != 0xFFFFFFFF:
        yield struct.unpack_from("<I", record, at)[0], at
        at += struct.unpack_from("<I", record, at + 4)[0]


def run(clusters, delta):
    """One run of a run list: its length, and its start counted from the run before."""
    length = clusters.to_bytes(8, "little").rstrip(b"\0")
    size = 1
    while not -(1 << (8 * size - 1)) <= delta < 1 << (8 * size - 1):
        size += 1
    return bytes([size << 4 | len(length)]) + length + delta.to_bytes(size, "little", signed=True)
