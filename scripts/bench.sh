#!/usr/bin/env bash
# Builds Ravlek and runs a benchmark program in its own private Wine prefix:
#   scripts/bench.sh [walk_bench] [ARGS...]
# walk_bench makes its synthetic tree on D: (build/mingw/wine-bench/drives/d) on first
# use and keeps it; listing_bench lists and searches that tree, so run walk_bench first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j2 >/dev/null
program=${1:-walk_bench}; shift || true
export RAVLEK_TEST_ROOT="$PWD/build/mingw/wine-bench"
if [ -z "${DISPLAY:-}" ]; then  # listing_bench opens Ravlek's window
  export DISPLAY=:${RAVLEK_DISPLAY:-56}
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
fi
trap 'WINEPREFIX="$RAVLEK_TEST_ROOT/prefix" wineserver -k >/dev/null 2>&1 || true; [ -n "${xvfb:-}" ] && kill "$xvfb"' EXIT
scripts/wine-run.sh "build/mingw/bench/$program.exe" "$@"
