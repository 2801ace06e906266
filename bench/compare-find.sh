#!/usr/bin/env bash
# Times Ravlek's search core on one large generated tree (600,000 files by default)
# against a bare FindFirstFileW walk and a batched walker under the same Wine
# (medians of rounds taken in turn), and against GNU find running natively.    bench/compare-find.sh [FOLDERS [FILES_PER_FOLDER]]
set -euo pipefail
cd "$(dirname "$0")/.."
folders=${1:-1200}; per_folder=${2:-500}
scripts/setup.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j2 --target walk_bench >/dev/null

root="$PWD/build/mingw/wine-find-bench"
tree="$root/drives/d/tree"
if [ ! -d "$tree/complete" ]; then
  echo "making $((folders * per_folder)) files in $folders folders..."
  rm -rf "$tree"
  python3 bench/make-tree.py "$tree" "$folders" "$per_folder"
  mkdir -p "$tree/complete"
fi

export RAVLEK_TEST_ROOT="$root" RAVLEK_DRIVES="d"
trap 'WINEPREFIX="$root/prefix" wineserver -k >/dev/null 2>&1 || true' EXIT
out=$(scripts/wine-run.sh build/mingw/bench/walk_bench.exe 'D:\tree\' | tr -d '\r')
echo "$out"
read -r bare size text files < <(echo "$out" | sed -n 's/^seconds: bare=\([^ ]*\) size=\([^ ]*\) text=\([^ ]*\) files=\([^ ]*\).*$/\1 \2 \3 \4/p')

best_of_three() {  # seconds of the fastest of three runs of the command
  local best=""
  for _ in 1 2 3; do
    local start end took
    start=$(date +%s.%N); "$@" >/dev/null; end=$(date +%s.%N)
    took=$(echo "$end - $start" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$took < $best" | bc -l)" = 1 ]; then best=$took; fi
  done
  echo "$best"
}
find_size=$(best_of_three find "$tree" -type f -size +100M)
find_text=$(best_of_three find "$tree" -type f -iname '*3.dat*')

ratio() { printf '%.2f' "$(echo "scale=4; $1 / $2" | bc -l)"; }
echo
echo "files: $files"
printf 'size mode:  Ravlek %.2f s, bare FindFirstFileW loop %.2f s, GNU find -size %.2f s\n' "$size" "$bare" "$find_size"
printf 'text mode:  Ravlek %.2f s, bare FindFirstFileW loop %.2f s, GNU find -iname %.2f s\n' "$text" "$bare" "$find_text"
echo "ratios against GNU find (its time / Ravlek's; above 1 means Ravlek is faster; the walk's own"
echo "ratios against the bare loop and the anchor are the per-round medians above):"
echo "  size mode: find $(ratio "$find_size" "$size")"
echo "  text mode: find $(ratio "$find_text" "$text")"
