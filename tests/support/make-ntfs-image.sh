#!/usr/bin/env bash
# Makes an NTFS volume image with ntfs-3g (once; cached in CACHE_DIR) and shows it
# to the test prefix as drive N: both ways Windows has it: N:\ its folders (the
# image mounted read-only) and \\.\N: its raw bytes (the image file). H:, I: and J:
# show the same folders over copies whose file table is wrong (a bad update
# sequence, a name whose parent does not exist, a table cut short), and so do
# G:, K:, L:, O:, P:, T:, U:, A: over tables crafted to take memory or time
# and Q: over one whose record 0 ends in a short attribute, on the volume of 4 KB
# records (break-ntfs-image.py says how each is made). Y: is a sound volume of 4 KB
# records whose table grew in so many pieces that it keeps its own attribute
# list. M: is the images' own folder, which Wine needs to tell the drives'
# volume information.
#   make-ntfs-image.sh CACHE_DIR DRIVES_DIR PREFIX
set -euo pipefail
cache=$1 drives=$2 prefix=$3
image="$cache/volume.ntfs" mount="$drives/n" used="$cache/long-used.ntfs" used_mount="$drives/y"
crafted="bad-fixup:h missing-parent:i truncated:j chain:g extends-far:k huge-table:l loop:o long-name:p
         small-volume:t overlapping-runs:u claims-more-than-the-device:a"
# Crafted from the volume of 4 KB records, whose reads past a record leave its page.
crafted_used="short-table-data:q"
here=$(cd "$(dirname "$0")" && pwd)

# An image still mounted from a run before cannot be made again under its name.
# One whose ntfs-3g was killed answers nothing, not even whether it is a mount.
for folder in "$mount" "$used_mount"; do
  umount "$folder" 2>/dev/null || umount -l "$folder" 2>/dev/null || true
  mkdir -p "$folder"
done
# Made again whenever the scripts that make the images change.
stamp=$(cat "$0" "$here/fill-ntfs-image.py" "$here/break-ntfs-image.py" | sha1sum | cut -d' ' -f1)
if [ "$(cat "$cache/complete" 2>/dev/null)" != "$stamp" ]; then
  rm -rf "$cache"; mkdir -p "$cache/fill"
  truncate -s 64M "$image"  # small: the table must outgrow the room kept for it
  mkntfs -F -f -q -L "Table test" "$image" 2>/dev/null
  ntfs-3g "$image" "$cache/fill"
  trap 'umount "$cache/fill" 2>/dev/null || true' EXIT
  # The image's junction leads off the volume, to C:\elsewhere (made below, as the
  # prefix is made anew for every run). ntfs-3g resolves it through the volume's
  # own .NTFS-3G/C:, a link to c-root, where a link leads on: a walk that takes
  # .NTFS-3G\C: first meets the folder only as a link, and reaches it first
  # through the junction, as on Windows.
  mkdir -p "$cache/c-root"
  ln -s "$prefix/drive_c/elsewhere" "$cache/c-root/elsewhere"
  python3 "$here/fill-ntfs-image.py" "$cache/fill" full "$cache/c-root"
  umount "$cache/fill"
  trap - EXIT
  python3 "$here/break-ntfs-image.py" "$image" "$cache/check.ntfs" table-in-pieces
  for pair in $crafted; do
    python3 "$here/break-ntfs-image.py" "$image" "$cache/${pair%%:*}.ntfs" "${pair%%:*}"
  done
  truncate -s 48M "$used"
  mkntfs -F -f -q -s 4096 -c 4096 -L "Long used" "$used" 2>/dev/null
  ntfs-3g "$used" "$cache/fill"
  trap 'umount "$cache/fill" 2>/dev/null || true' EXIT
  python3 "$here/fill-ntfs-image.py" "$cache/fill" long-used
  umount "$cache/fill"
  trap - EXIT
  for pair in $crafted_used; do
    python3 "$here/break-ntfs-image.py" "$used" "$cache/${pair%%:*}.ntfs" "${pair%%:*}"
  done
  echo "$stamp" > "$cache/complete"
fi

ntfs-3g -o ro "$image" "$mount"
ntfs-3g -o ro "$used" "$used_mount"
map() {  # map LETTER IMAGE [FOLDER]
  rm -f "$prefix/dosdevices/$1:" "$prefix/dosdevices/$1::"
  ln -s "${3:-$mount}" "$prefix/dosdevices/$1:"
  ln -s "$2" "$prefix/dosdevices/$1::"
}
map n "$image"
map y "$used" "$used_mount"
for pair in $crafted; do
  map "${pair##*:}" "$cache/${pair%%:*}.ntfs"
done
for pair in $crafted_used; do
  map "${pair##*:}" "$cache/${pair%%:*}.ntfs" "$used_mount"
done
mkdir -p "$prefix/drive_c/elsewhere"
truncate -s 150M "$prefix/drive_c/elsewhere/behind the junction.vhd"
printf 'far' > "$prefix/drive_c/elsewhere/far away.txt"
rm -f "$prefix/dosdevices/m:"
ln -s "$cache" "$prefix/dosdevices/m:"
# Drive mappings are read when the server starts.
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
