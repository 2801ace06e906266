#!/usr/bin/env bash
# Makes the fuzz targets' seeds: small NTFS volumes made by ntfs-3g and cut
# after their file table (cut-seed.py), with 1 KB and 4 KB records and a table
# that keeps its own attribute list; the small targets' seeds are cut from
# those (cut-target-seeds.py).   make-seeds.sh DIR   (needs root, for mounting)
set -euo pipefail
out=$1
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$out"; mkdir -p "$out/mount"
trap 'umount "$out/mount" 2>/dev/null || true' EXIT

make_seed() {  # make_seed NAME MKNTFS-OPTIONS [split]
  local name=$1 image=$out/$1.ntfs
  truncate -s 4M "$image"
  mkntfs -F -f -q $2 "$image" >/dev/null 2>&1
  ntfs-3g "$image" "$out/mount"
  python3 "$here/../support/fill-ntfs-image.py" "$out/mount" seed
  umount "$out/mount"
  python3 "$here/cut-seed.py" "$image" "$out/$name" ${3:-}
  rm -f "$image"
}
make_seed small-records "-c 1024"
make_seed large-records "-s 4096 -c 4096"
make_seed attribute-list "-c 512" split
python3 "$here/cut-target-seeds.py" "$out"
touch "$out/complete"
ls -la "$out"
