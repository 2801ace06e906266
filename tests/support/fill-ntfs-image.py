"""Fills a mounted NTFS test volume with what its file table must be read right for:
   fill-ntfs-image.py MOUNT [full|seed|long-used] [ELSEWHERE]
full: every case the fast scan's tests compare with the walk; seed: a few of each
kind, for the fuzz target; long-used: a volume filled, every other file freed and
filled again, so that the table grows in so many pieces that it keeps its own
attribute list, as the tables of long-used volumes do."""
import os
import struct
import sys

root = sys.argv[1]
kind = sys.argv[2] if len(sys.argv) > 2 else "full"
# full: where the volume's .NTFS-3G/C: leads, on the way to a junction's folder off the volume.
elsewhere = sys.argv[3] if len(sys.argv) > 3 else None


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



def mount_point(target):
    """A junction's reparse data: its tag, then where it leads as Windows names it."""
    substitute = ("\\??\\" + target).encode("utf-16-le")
    shown = target.encode("utf-16-le")
    body = struct.pack("<HHHH", 0, len(substitute), len(substitute) + 2, len(shown)) + substitute + b"\0\0" + shown + b"\0\0"
    return struct.pack("<IHH", 0xA0000003, len(body), 0) + body


def relative_symlink(target):
    """A symbolic link's reparse data, relative to the folder it lies in."""
    name = target.encode("utf-16-le")
    body = struct.pack("<HHHHI", 0, len(name), len(name), len(name), 1) + name + name
    return struct.pack("<IHH", 0xA000000C, len(body), 0) + body


def fill_until_full(folder, prefix, size):
    """Files of `size` bytes until the volume is full; how many were made."""
    os.makedirs(os.path.join(root, folder), exist_ok=True)
    made = 0
    try:
        while True:
            with open(os.path.join(root, folder, "%s %05d.dat" % (prefix, made)), "wb") as f:
                f.write(b"l" * size)
            made += 1
    except OSError:
        pass
    return made


def long_used():
    sparse("kept/a large file.bin", 300 * 1024 * 1024)
    write("kept/Ärger über Öl.txt", 10)
    # Files of two clusters each (and never held in their record), so that what
    # is freed are holes the table
    # can only grow into a piece at a time.
    first = fill_until_full("used", "first", max(os.statvfs(root).f_bsize + 1, 800))
    for i in range(0, first, 2):
        os.remove(os.path.join(root, "used", "first %05d.dat" % i))
    fill_until_full("used/again", "second", 0)


def seed():
    write("a/b/c/deep.txt", 10)
    write("names/Björk – Jóga.mp3", 3000)
    sparse("sizes/huge sparse.vhd", 5 * 1024 * 1024 * 1024)
    write("links/original.dat", 4096)
    for i in range(120):
        os.link(os.path.join(root, "links/original.dat"), os.path.join(root, "links/name %03d.dat" % i))
    streamed = write("streams/with stream.txt", 50)
    os.setxattr(streamed, "user.extra", b"s" * 2000)
    write("Windows/notepad.exe", 2000)


def full():
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
    # A cloud file's placeholder, as Windows marks one whose data lies only online
    # (offline, recalled on data access): nothing of it is on the volume.
    sparse("cloud/online only.docx", 150 * 1024 * 1024)
    os.setxattr(os.path.join(root, "cloud/online only.docx"), "system.ntfs_attrib_be", struct.pack(">I", 0x00401020))
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
    # Folder links as Windows makes them, with the reparse data ntfs-3g takes: a
    # junction to C:\elsewhere (off the volume) and a folder symbolic link onto
    # the volume (to sizes). ntfs-3g shows the junction as a link to
    # MOUNT/.NTFS-3G/C:/elsewhere, so that name leads to the folder behind C:.
    if elsewhere:
        os.makedirs(os.path.join(root, "reparse/junction"))
        os.makedirs(os.path.join(root, "reparse/folder symlink"))
        os.setxattr(os.path.join(root, "reparse/junction"), "system.ntfs_reparse_data", mount_point("C:\\elsewhere"))
        os.setxattr(os.path.join(root, "reparse/folder symlink"), "system.ntfs_reparse_data",
                    relative_symlink("..\\sizes"))
        os.makedirs(os.path.join(root, ".NTFS-3G"))
        os.symlink(elsewhere, os.path.join(root, ".NTFS-3G/C:"))


{"full": full, "seed": seed, "long-used": long_used}[kind]()
