#!/usr/bin/env bash
# Times "Tick extra copies" as a person waits for it, from outside the program:
# from Shift+F10 on the list of copies_bench's 16 files of 48 MB (four groups of
# three copies, two pairs that differ in their last byte: every byte is read) to
# the summary in the status bar, against the bare ReadFile loop over the same
# files (copies_bench bare), both from the page cache, in rounds taken in turn.
# With `large`, copies_bench's 6.6 GB of 1 GiB and sparse files instead.
#   bench/copies-outside.sh [ROUNDS [large]]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-7} large=${2:-}
scripts/setup.sh >/dev/null 2>&1
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j2 --target Ravlek window_probe copies_bench >/dev/null
root="$PWD/build/mingw/wine-copies-outside${large:+-large}" runner="$PWD/scripts/wine-run.sh"
mkdir -p "$root/drives/d"
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:${RAVLEK_DISPLAY:-58}
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
fi
cleanup() {
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  WINEPREFIX="$root/prefix" wineserver -k >/dev/null 2>&1 || true
}
trap cleanup EXIT
export RAVLEK_TEST_ROOT="$root" RAVLEK_DRIVES="d"
source bench/outside-steps.sh
run build/mingw/bench/copies_bench.exe bare 'D:\copies\' $large >/dev/null  # makes the files once, and reads them into the page cache

mkdir -p "$root/prefix/drive_c/Ravlek"
cp build/mingw/bin/Ravlek.exe "$root/prefix/drive_c/Ravlek/"
(cd "$root/prefix/drive_c/Ravlek" && exec "$runner" 'C:\Ravlek\Ravlek.exe') >/dev/null 2>&1 &
wait_for 30 eval 'probe state | head -1 | grep -q "^window	1"'
# D:, the name criterion, ".bin", Enter: the 16 files listed, the list focused.
# Each step is taken again until the window shows it taken.
step shows 2 "D:" -- eval 'click 2; sleep 0.5; xdotool key d Return'
step shows 3 "For files with specific text" -- eval 'click 3; sleep 0.5; xdotool key End Return'
step shows 5 ".bin" -- eval 'click 5; xdotool key ctrl+a; xdotool type --delay 20 .bin'
xdotool key Return
wait_for 60 eval 'probe status | grep -q "^Showing [0-9]* matches"'

took=() bare=() parts=() chosen=()
for _ in $(seq "$rounds"); do
  read -r whole menu greyed < <(probe time-extra-copies 120000)
  took+=("$whole") parts+=("menu $menu, greyed $greyed")
  bare+=($(run build/mingw/bench/copies_bench.exe bare 'D:\copies\' $large))
  chosen+=($((whole - menu)))
done
probe status
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
t=$(median "${took[@]}") b=$(median "${bare[@]}")
echo "Tick extra copies from the key to the summary: $t ms (rounds: ${took[*]})"
echo "from the menu item's key (X) to the summary: $(median "${chosen[@]}") ms (rounds: ${chosen[*]})"
echo "the bare read of the same files: $b ms (rounds: ${bare[*]})"
echo "when the menu showed and the window greyed, from the key (ms): $(IFS=';'; echo "${parts[*]}")"
echo "ratio: $(python3 -c "print(f'{$t / $b:.2f}')") from Shift+F10, $(python3 -c "print(f'{$(median "${chosen[@]}") / $b:.2f}')") from X"
