"""Fills a mounted NTFS test volume with what its file table must be read right for:
   fill-ntfs-image.py MOUNT"""
import os
import struct
import sys

root = sys.argv[1]


def write(path, size, byte=b"x"):
    full = os.path.join(root, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(byte * size)
    return full


def sparse(path, size):
    full = os.path.join(root, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.truncate(size)


# Clusters taken and freed in turns first, so that the table, as it grows past
# the room kept for it, lands in pieces among them.
for i in range(340):
    write("scatter/d%03d.bin" % i, 150000)
for i in range(0, 340, 2):
    os.remove(os.path.join(root, "scatter/d%03d.bin" % i))
# Sizes on both sides of the search's thresholds, small and resident ones too.
sparse("sizes/big.img", 200 * 1024 * 1024)
sparse("sizes/huge sparse.vhd", 5 * 1024 * 1024 * 1024)
write("sizes/small.txt", 100)
write("sizes/empty.txt", 0)
write("sizes/resident.txt", 300)
# One file with hundreds of names: its names spill into more records (an attribute list).
write("links/original.dat", 4096)
os.makedirs(os.path.join(root, "links/names"), exist_ok=True)
for i in range(400):
    os.link(os.path.join(root, "links/original.dat"), os.path.join(root, "links/names/name %03d.dat" % i))
# Deep folders, long paths, long and non-ASCII names.
deep = "deep/" + "/".join("level %02d" % i for i in range(60))
write(deep + "/bottom.txt", 60)
write("long/" + "x" * 120 + "/" + "y" * 120 + "/" + "z" * 40 + ".bin", 10)
write("names/" + "n" * 251 + ".txt", 255)
write("names/Björk – Jóga.mp3", 3000)
write("names/日本語のファイル.txt", 20)
# A named stream beside the unnamed one: only the unnamed one is the file's size.
streamed = write("streams/with stream.txt", 50)
os.setxattr(streamed, "user.extra", b"s" * 5000)
# Read-only, as Windows marks it.
readonly = write("marks/read only.doc", 70)
os.setxattr(readonly, "system.ntfs_attrib_be", struct.pack(">I", 0x21))
# A Windows folder.
write("Windows/System32/kernel.dll", 5000)
write("Windows/notepad.exe", 2000)
# Thousands of files in one folder.
for i in range(3000):
    write("crowd/file %04d.dat" % i, i % 7)
# A fragmented table: filled, every other file removed, filled again.
for i in range(6000):
    write("churn/first %04d.tmp" % i, 1)
for i in range(0, 6000, 2):
    os.remove(os.path.join(root, "churn/first %04d.tmp" % i))
for i in range(3000):
    write("churn/second %04d.tmp" % i, 2)
# A fragmented large file: grown in turns with another.
os.makedirs(os.path.join(root, "frag"), exist_ok=True)
with open(os.path.join(root, "frag/a.bin"), "wb") as a, open(os.path.join(root, "frag/b.bin"), "wb") as b:
    for _ in range(64):
        a.write(b"a" * 65536)
        a.flush()
        os.fsync(a.fileno())
        b.write(b"b" * 65536)
        b.flush()
        os.fsync(b.fileno())
# A deleted file, and links.
write("gone/deleted.txt", 10)
os.remove(os.path.join(root, "gone/deleted.txt"))
os.symlink("../sizes/small.txt", os.path.join(root, "gone/file link.txt"))
os.symlink("../sizes", os.path.join(root, "gone/folder link"))
