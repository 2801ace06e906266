"""The benchmarks' tree: FOLDERS folders in groups of 50, FILES files in each, with
sizes spread up to 5 MB and a few large ones, all sparse.
   make-tree.py TREE FOLDERS FILES"""
import os
import sys

tree, folders, per = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
for f in range(folders):
    folder = os.path.join(tree, "group%d" % (f // 50), "folder %d" % f)
    os.makedirs(folder, exist_ok=True)
    for i in range(per):
        with open(os.path.join(folder, "document %d.dat" % i), "wb") as out:
            size = (f * 7919 + i * 104729) % 5000000
            if f % 250 == 0 and i == 0:
                size = 1200000000 + f * 1000003  # a few large sparse files
            out.truncate(size)
