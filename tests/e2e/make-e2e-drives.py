#!/usr/bin/env python3
"""Lays out the end-to-end test's drives:  make-e2e-drives.py DRIVES_DIR [--figures]

D: files at both sides of every size criterion (sparse: they take no space), songs
for a name search, a read-only file, and a tree of many small files with large ones
spread through it, for stopping a walk; E: an empty move target. With --figures,
F: a drive of 300,000 files for the timed searches and the long work the window
must live through, large enough that the window's own work of a search weighs as
little as it does on a real drive, with 300 large files in its root.
"""
import os
import sys

MB = 1024 * 1024
drives = sys.argv[1]
d = os.path.join(drives, "d")
os.makedirs(os.path.join(drives, "e", "moved"), exist_ok=True)


def make(path, size, drive=d):
    full = os.path.join(drive, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.truncate(size)


def empty_files(folder, count, drive=d):
    """f0000.dat, f0001.dat, ... in the folder."""
    base = os.path.join(drive, folder)
    os.makedirs(base, exist_ok=True)
    for i in range(count):
        open(os.path.join(base, "f%04d.dat" % i), "wb").close()


for name, size in [
    ("sizes/exactly 100 MB.bin", 100 * MB), ("sizes/just over 100 MB.bin", 100 * MB + 1),
    ("sizes/quarter.iso", 300 * MB), ("sizes/half.iso", 600 * MB), ("sizes/cd image.iso", 700 * MB),
    ("sizes/exactly 1 GB.img", 1024 * MB), ("sizes/just over 1 GB.img", 1024 * MB + 1),
    ("sizes/dvd image.iso", 5 * 1024 * MB), ("sizes/small.txt", 1000),
    ("music/Song.Mp3", 5 * MB), ("music/LOUD.MP3", 7 * MB), ("music/mp3 player manual.pdf", 2 * MB),
    ("music/Björk – live.mp3", 3 * MB), ("music/notes.txt", 100),
    ("music/" + "a long folder name " * 12 + "/" + "a long file name " * 5 + ".mp3", 4 * MB),
    ("read only/protected.mp3", 1 * MB), ("move me/movie one.mkv", 150 * MB), ("move me/movie two.mkv", 120 * MB),
]:
    make(name, size)
os.chmod(os.path.join(d, "read only/protected.mp3"), 0o444)

# A tree to stop a walk in: 100 folders of 600 empty files, a big file in every tenth.
for folder in range(100):
    base = os.path.join("tree", "folder %03d" % folder)
    empty_files(base, 600)
    if folder % 10 == 0:
        make(os.path.join(base, "large.bin"), 200 * MB)

if "--figures" in sys.argv[2:]:
    f = os.path.join(drives, "f")
    # Found first, before the walk goes into the folders: the files a person who
    # stops the walk early has found.
    for i in range(300):
        make("big %03d.bin" % i, 101 * MB + i, f)
    for folder in range(600):
        base = os.path.join("group %02d" % (folder // 30), "folder %03d" % folder)
        empty_files(base, 500, f)
        if folder % 50 == 0:
            make(os.path.join(base, "large.bin"), 300 * MB, f)
