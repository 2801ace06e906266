#!/usr/bin/env bash
# The fast scan's whole search timed from outside, as a person waits: from the
# click on the search button (window_probe time-search) to the window back with
# its summary, in size mode (100 MB) and text mode ("3.dat"), against the bare
# FindFirstFileW loop over the same 600,000 files on the native file system,
# each search followed by a loop so that both see the same drift. Uses the
# volume and tree bench/table-scan.sh made (run that first).
#   bench/search-outside.sh [ROUNDS [EXE...]]   (EXE: other builds, say an earlier one, timed in turn)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-5}; shift || true
exes=("$PWD/build/mingw/bin/Ravlek.exe" "$@")
cmake --build --preset mingw -j2 --target Ravlek window_probe >/dev/null
root="$PWD/build/mingw/wine-table-bench" runner="$PWD/scripts/wine-run.sh"
cache="$root/image" mount="$root/drives/n"
[ -f "$cache/complete" ] && [ -d "$root/drives/d/tree/complete" ] || { echo "run bench/table-scan.sh first"; exit 1; }
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:${RAVLEK_DISPLAY:-56}
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
cleanup() {
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  WINEPREFIX="$root/prefix" wineserver -k >/dev/null 2>&1 || true
  umount "$mount" 2>/dev/null || true
}
trap cleanup EXIT
mkdir -p "$mount"
mountpoint -q "$mount" || ntfs-3g -o ro "$cache/volume.ntfs" "$mount"
export RAVLEK_TEST_ROOT="$root" RAVLEK_DRIVES="d n=$mount m=$cache"
source bench/outside-steps.sh
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
ratio() { python3 -c "print(f'{$1 / $2:.1f}')"; }
probe find-loop 'D:\tree\' >/dev/null  # the tree into the page cache
mkdir -p "$root/prefix/drive_c/Ravlek"
for exe in "${exes[@]}"; do
  cp "$exe" "$root/prefix/drive_c/Ravlek/Ravlek.exe"
  (cd "$root/prefix/drive_c/Ravlek" && exec "$runner" 'C:\Ravlek\Ravlek.exe') >/dev/null 2>&1 &
  wait_for 30 eval 'probe state | head -1 | grep -q "^window	1"'
  step shows 2 "N:" -- eval 'click 2; sleep 0.5; xdotool key n Return'
  for mode in size text; do
    if [ "$mode" = text ]; then
      step shows 3 "For files with specific text" -- eval 'click 3; sleep 0.5; xdotool key End Return'
      step shows 5 "3.dat" -- eval 'click 5; xdotool key ctrl+a; xdotool type --delay 20 3.dat'
    fi
    # The table into the page cache; a window's first search also sizes the
    # memory later ones find kept.
    first=$(probe time-search)
    took=() bare=()
    for _ in $(seq "$rounds"); do
      took+=($(probe time-search))
      bare+=($(probe find-loop 'D:\tree\' | cut -d' ' -f1))
    done
    t=$(median "${took[@]}") b=$(median "${bare[@]}")
    echo "$exe, $mode mode: whole search $t ms (rounds: ${took[*]}), bare loop $b ms (rounds: ${bare[*]}): $(ratio "$b" "$t")x; the window's first search in this mode $first ms; $(probe status)"
  done
  WINEPREFIX="$root/prefix" wineserver -k >/dev/null 2>&1 || true
  sleep 1
done
