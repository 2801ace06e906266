#!/usr/bin/env bash
# Builds Ravlek and runs a benchmark program in its own private Wine prefix:
#   scripts/bench.sh [walk_bench] [ARGS...]
# The synthetic tree is made on D: (build/mingw/wine-bench/drives/d) on first use and kept.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j2 >/dev/null
program=${1:-walk_bench}; shift || true
export RAVLEK_TEST_ROOT="$PWD/build/mingw/wine-bench"
trap 'WINEPREFIX="$RAVLEK_TEST_ROOT/prefix" wineserver -k >/dev/null 2>&1 || true' EXIT
scripts/wine-run.sh "build/mingw/bench/$program.exe" "$@"
