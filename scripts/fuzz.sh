#!/usr/bin/env bash
# Builds the file table reader's fuzz targets natively (clang, libFuzzer,
# AddressSanitizer, UndefinedBehaviorSanitizer) and runs them:
#   fuzz.sh SECONDS [TARGET...]   for each target (all when none is named), first
#                                 every kept regression case, then SECONDS of fuzzing
# Targets: table (a whole volume), record (one file record), layout (record 0,
# its attribute list and the records it names), boot (a boot sector and record 0
# on a device as long as the input). Exit code 1 on any finding; the input that
# found it is left in build/fuzz/findings/TARGET/ to be kept in
# tests/fuzz/regressions/TARGET/ once its fault is mended.
set -euo pipefail
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(table record layout boot)
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/fuzz
mkdir -p "$out"

sources=(search/ntfs_format.cpp search/table_layout.cpp search/table_records.cpp search/table_reader.cpp search/table_folders.cpp toolkit/kept_blocks.cpp)
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$root/src" -I"$root/tests")
[ -f "$out/seeds/complete" ] && [ -d "$out/seeds/table" ] || "$root/tests/fuzz/make-seeds.sh" "$out/seeds" >/dev/null

# A runaway allocation is a finding, not a machine brought down.
limits=(-rss_limit_mb=1024 -malloc_limit_mb=512 -timeout=10)
for target in "${targets[@]}"; do
  case $target in
    table) max_len=$((13 * 1024 * 1024)) ;;
    record) max_len=4096 ;;
    layout) max_len=$((128 * 1024)) ;;
    boot) max_len=$((512 * 1024)) ;;
    *) echo "fuzz.sh: no target $target (table, record, layout, boot)" >&2; exit 2 ;;
  esac
  binary=$out/${target}_fuzzer
  newest=$(ls -t "$root/tests/fuzz/${target}_fuzzer.cpp" "$root"/tests/fuzz/fuzz_* "$0" "${sources[@]/#/$root/src/}" \
           "$root"/src/search/*.h "$root/src/toolkit/raw_volume.h" | head -1)
  if [ ! -x "$binary" ] || [ "$newest" -nt "$binary" ]; then
    clang++ "${flags[@]}" "$root/tests/fuzz/${target}_fuzzer.cpp" "$root/tests/fuzz/fuzz_device.cpp" \
      "${sources[@]/#/$root/src/}" -o "$binary"
  fi
  mkdir -p "$out/corpus/$target" "$out/findings/$target"
  regressions=("$root"/tests/fuzz/regressions/"$target"/*)
  if [ "$target" = layout ]; then
    # Tables of 1,000 to 4,000 pieces that share one cluster, made anew: their
    # layout must be read in steps that follow their size (the target checks it).
    rm -rf "$out/generated/layout"
    python3 "$root/tests/fuzz/craft-many-pieces.py" "$out/seeds/layout/attribute-list" "$out/generated/layout" 1000 2000 4000
    regressions+=("$out"/generated/layout/*)
  fi
  if [ -e "${regressions[0]}" ]; then
    "$binary" "${limits[@]}" "${regressions[@]}" >"$out/$target-regressions.log" 2>&1 ||
      { tail -40 "$out/$target-regressions.log"; echo "fuzz.sh: a kept $target regression case fails again" >&2; exit 1; }
    echo "fuzz $target: ${#regressions[@]} regression cases pass"
  fi
  "$binary" "${limits[@]}" -max_len="$max_len" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$out/findings/$target/" "$out/corpus/$target" "$out/seeds/$target" >"$out/$target.log" 2>&1 || {
    tail -60 "$out/$target.log"
    echo "fuzz.sh: a finding in $target; its input is in $out/findings/$target/" >&2
    exit 1
  }
  # -a: a test run of the same target at the same time may have written over the log.
  grep -aE '^stat::(number_of_executed_units|peak_rss_mb)|^#[0-9]+ *DONE' "$out/$target.log" | sed "s/^/fuzz $target: /"
done
