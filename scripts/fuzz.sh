#!/usr/bin/env bash
# Builds the file table reader's fuzz target natively (clang, libFuzzer,
# AddressSanitizer, UndefinedBehaviorSanitizer) and runs it:
#   fuzz.sh SECONDS   first every kept regression case, then SECONDS of fuzzing
# from seeds made of small NTFS images. Exit code 1 on any finding; the input
# that found it is left in build/fuzz/findings/ to be kept in
# tests/fuzz/regressions/ once its fault is mended.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/fuzz
mkdir -p "$out/corpus" "$out/findings"

sources=(search/ntfs_format.cpp search/table_layout.cpp search/table_records.cpp search/table_reader.cpp search/table_folders.cpp)
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$root/src")
binary=$out/table_fuzzer
newest=$(ls -t "$root/tests/fuzz/table_fuzzer.cpp" "$0" "${sources[@]/#/$root/src/}" "$root"/src/search/*.h | head -1)
if [ ! -x "$binary" ] || [ "$newest" -nt "$binary" ]; then
  clang++ "${flags[@]}" "$root/tests/fuzz/table_fuzzer.cpp" "${sources[@]/#/$root/src/}" -o "$binary"
fi

[ -f "$out/seeds/complete" ] || "$root/tests/fuzz/make-seeds.sh" "$out/seeds"

# A runaway allocation is a finding, not a machine brought down.
limits=(-rss_limit_mb=1024 -malloc_limit_mb=512 -timeout=10)
regressions=("$root"/tests/fuzz/regressions/*)
if [ -e "${regressions[0]}" ]; then
  "$binary" "${limits[@]}" "${regressions[@]}" >"$out/regressions.log" 2>&1 ||
    { tail -40 "$out/regressions.log"; echo "fuzz.sh: a kept regression case fails again" >&2; exit 1; }
  echo "fuzz: ${#regressions[@]} regression cases pass"
fi
"$binary" "${limits[@]}" -max_len=$((13 * 1024 * 1024)) -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$out/findings/" "$out/corpus" "$out/seeds" >"$out/fuzz.log" 2>&1 || {
  tail -60 "$out/fuzz.log"
  echo "fuzz.sh: a finding; its input is in $out/findings/" >&2
  exit 1
}
grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^#[0-9]+ *DONE' "$out/fuzz.log" | sed 's/^/fuzz: /'
