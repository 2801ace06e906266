#!/usr/bin/env bash
# Times the fast scan: one tree of 600,000 files (by default) both on an NTFS image
# made with ntfs-3g, whose file table the scan reads, and on the native file
# system, where the bare find loop and Ravlek's walk go through it.
#   bench/table-scan.sh [FOLDERS [FILES_PER_FOLDER]]   (as root: ntfs-3g mounts through FUSE)
set -euo pipefail
cd "$(dirname "$0")/.."
folders=${1:-1200}; per_folder=${2:-500}
scripts/setup.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j2 --target table_bench Ravlek >/dev/null

root="$PWD/build/mingw/wine-table-bench"
cache="$root/image" tree="$root/drives/d/tree" mount="$root/drives/n"
mkdir -p "$root/drives/d"
if [ -z "${DISPLAY:-}" ]; then  # the whole searches are timed in Ravlek's window
  export DISPLAY=:${RAVLEK_DISPLAY:-57}
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
fi
cleanup() {
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  WINEPREFIX="$root/prefix" wineserver -k >/dev/null 2>&1 || true
  umount "$mount" 2>/dev/null || true
  umount "$cache/fill" 2>/dev/null || true
}
trap cleanup EXIT
if [ ! -d "$tree/complete" ]; then
  echo "making $((folders * per_folder)) files in $folders folders natively..."
  rm -rf "$tree"; python3 bench/make-tree.py "$tree" "$folders" "$per_folder"; mkdir -p "$tree/complete"
fi
if [ ! -f "$cache/complete" ]; then
  echo "making the same tree on an NTFS image..."
  rm -rf "$cache"; mkdir -p "$cache/fill"
  truncate -s 4G "$cache/volume.ntfs"
  mkntfs -F -f -q "$cache/volume.ntfs" 2>/dev/null
  ntfs-3g "$cache/volume.ntfs" "$cache/fill"
  python3 bench/make-tree.py "$cache/fill/tree" "$folders" "$per_folder"
  umount "$cache/fill"
  touch "$cache/complete"
fi
mkdir -p "$mount"
mountpoint -q "$mount" || ntfs-3g -o ro "$cache/volume.ntfs" "$mount"

export RAVLEK_TEST_ROOT="$root" RAVLEK_DRIVES="d n=$mount m=$cache"
scripts/wine-run.sh cmd /c exit >/dev/null 2>&1   # makes the prefix on first use
ln -sfn "$cache/volume.ntfs" "$root/prefix/dosdevices/n::"
WINEPREFIX="$root/prefix" wineserver -k >/dev/null 2>&1 || true   # mappings are read when the server starts
scripts/wine-run.sh build/mingw/bench/table_bench.exe 'N:\' 'D:\tree\' | tr -d '\r'

# The same searches from a script, timed from outside as a scheduled task waits
# for them: from the start of Ravlek.exe to its end, the list written.
runner="$PWD/scripts/wine-run.sh"
mkdir -p "$root/prefix/drive_c/Ravlek"
cp build/mingw/bin/Ravlek.exe "$root/prefix/drive_c/Ravlek/"
started() {  # started WORDS...: milliseconds from the start of Ravlek.exe to its end
  local start; start=$(date +%s%N)
  (cd "$root/prefix/drive_c/Ravlek" && "$runner" 'C:\Ravlek\Ravlek.exe' "$@" >/dev/null 2>&1) || return 1
  echo $(( ($(date +%s%N) - start) / 1000000 ))
}
starts=($(started '/?') $(started '/?') $(started '/?'))
printf 'Ravlek.exe /? (the start and end of the program alone): %s ms (median of 3: %s ms)\n' \
  "$(printf '%s\n' "${starts[@]}" | sort -n | sed -n 2p)" "${starts[*]}"
for mode in size text; do
  words=(/search N:); [ "$mode" = text ] && words+=(/name 3.dat)
  took=()
  for round in 1 2 3; do
    took+=($(started "${words[@]}" /list 'D:\script-list.csv')) || { echo "the search from a script failed"; break; }
  done
  [ "${#took[@]}" -eq 3 ] || continue
  printf 'search from a script, %s mode: %s ms from start to end (median of 3: %s ms), %s rows written\n' "$mode" \
    "$(printf '%s\n' "${took[@]}" | sort -n | sed -n 2p)" "${took[*]}" "$(($(wc -l < "$root/drives/d/script-list.csv") - 1))"
done
