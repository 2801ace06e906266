#!/usr/bin/env bash
# Makes an NTFS volume image with ntfs-3g (once; cached in CACHE_DIR) and shows it
# to the test prefix as drive N: both ways Windows has it: N:\ its folders (the
# image mounted read-only) and \\.\N: its raw bytes (the image file). H:, I: and J:
# show the same folders over copies whose file table is wrong (a bad update
# sequence, a name whose parent does not exist, a table cut short). M: is the
# images' own folder, which Wine needs to tell the drives' volume information.
#   make-ntfs-image.sh CACHE_DIR DRIVES_DIR PREFIX
set -euo pipefail
cache=$1 drives=$2 prefix=$3
image="$cache/volume.ntfs" mount="$drives/n"
here=$(cd "$(dirname "$0")" && pwd)

if [ ! -f "$cache/complete" ]; then
  rm -rf "$cache"; mkdir -p "$cache/fill"
  truncate -s 64M "$image"  # small: the table must outgrow the room kept for it
  mkntfs -F -f -q -L "Table test" "$image" 2>/dev/null
  ntfs-3g "$image" "$cache/fill"
  trap 'umount "$cache/fill" 2>/dev/null || true' EXIT
  python3 "$here/fill-ntfs-image.py" "$cache/fill"
  umount "$cache/fill"
  trap - EXIT
  python3 "$here/break-ntfs-image.py" "$image" "$cache/check.ntfs" table-in-pieces
  for kind in bad-fixup missing-parent truncated; do
    python3 "$here/break-ntfs-image.py" "$image" "$cache/$kind.ntfs" "$kind"
  done
  touch "$cache/complete"
fi

mountpoint -q "$mount" && umount "$mount"
mkdir -p "$mount"
ntfs-3g -o ro "$image" "$mount"
map() {  # map LETTER IMAGE
  rm -f "$prefix/dosdevices/$1:" "$prefix/dosdevices/$1::"
  ln -s "$mount" "$prefix/dosdevices/$1:"
  ln -s "$2" "$prefix/dosdevices/$1::"
}
map n "$image"
map h "$cache/bad-fixup.ntfs"
map i "$cache/missing-parent.ntfs"
map j "$cache/truncated.ntfs"
rm -f "$prefix/dosdevices/m:"
ln -s "$cache" "$prefix/dosdevices/m:"
# Drive mappings are read when the server starts.
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
