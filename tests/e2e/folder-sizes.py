#!/usr/bin/env python3
"""Checks a saved "Folder sizes" file against the folders themselves, counted here
as Ravlek should count them, from what Linux says of each entry (size, blocks,
inode, time):   folder-sizes.py DRIVE_DIR LETTER SUBFOLDER SAVED.csv

Only the rows of SUBFOLDER and the folders below it are compared: the rest of the
drive holds what the other checks left there. A file counts min(size, blocks) on
the disk, once however many names it has (under the name whose folder's path
sorts first in 16-bit units, then its kind); a link to a folder is a folder with
nothing in it; a folder nobody may read is a folder with nothing in it.
"""
import csv
import os
import stat
import sys
import time

drive_dir, letter, sub, saved = sys.argv[1:5]


def windows_path(rel):
    return letter + ":\\" + rel.replace("/", "\\")


def kind_of(name):
    dot = name.rfind(".")
    return "" if dot < 0 else name[dot + 1:].lower()


folders = {}  # relative path -> [on disk, size, files, folders, latest]
names = {}    # inode -> every name of it: (folder path sort key, kind, folder, size, on disk, time)
waiting = [sub]
while waiting:
    rel = waiting.pop()
    folders[rel] = [0, 0, 0, 0, 0]
    full = os.path.join(drive_dir, rel)
    if os.lstat(full).st_mode & 0o444 == 0:
        continue  # Wine, without root's rights, cannot open it
    for entry in os.scandir(full):
        st = entry.stat(follow_symlinks=False)
        child = rel + "/" + entry.name
        if stat.S_ISLNK(st.st_mode):
            if os.path.isdir(entry.path):
                folders[child] = [0, 0, 0, 0, 0]
            continue
        if stat.S_ISDIR(st.st_mode):
            waiting.append(child)
            continue
        on_disk = min(st.st_size, st.st_blocks * 512)
        key = (windows_path(rel) + "\\").encode("utf-16-be")
        names.setdefault(st.st_ino, []).append((key, kind_of(entry.name), rel, st.st_size, on_disk, int(st.st_mtime)))

for every_name in names.values():
    _, _, rel, size, on_disk, mtime = min(every_name, key=lambda name: (name[0], name[1]))
    figures = folders[rel]
    figures[0] += on_disk
    figures[1] += size
    figures[2] += 1
    figures[4] = max(figures[4], mtime)

for rel in sorted(folders, key=lambda r: -r.count("/")):
    if rel == sub:
        continue
    parent, figures = folders[rel.rsplit("/", 1)[0]], folders[rel]
    for i in range(3):
        parent[i] += figures[i]
    parent[3] += figures[3] + 1
    parent[4] = max(parent[4], figures[4])

with open(saved, encoding="utf-8-sig", newline="") as f:
    table = list(csv.reader(f))
assert table[0] == ["Folder", "On disk in bytes", "Size in bytes", "Files", "Folders", "Latest change"], table[0]
rows = {row[0]: row for row in table[1:]}
problems = []
for rel, (on_disk, size, files, below, latest) in folders.items():
    path = windows_path(rel)
    expected = [path, str(on_disk), str(size), str(files), str(below),
                time.strftime("%Y-%m-%d %H:%M:%S", time.localtime(latest)) if latest else ""]
    if rows.get(path) != expected:
        problems.append("%s: saved %s, counted %s" % (path, rows.get(path), expected))
print("compared %d folders under %s" % (len(folders), windows_path(sub)))
for problem in problems[:10]:
    print(problem)
sys.exit(1 if problems else 0)
