#!/usr/bin/env bash
# The 32-bit build under Wine's 32-bit mode: the window appears, a size search of
# a fixture drive lists the expected rows, the close box ends it with code 0.
#   x86-smoke.sh BUILD_DIR   (BUILD_DIR: the 64-bit build, for its window probe)
# Wine's 32-bit mode (Debian's wine32) runs only where the kernel runs 32-bit
# programs; elsewhere this says so and counts as skipped (exit code 77).
set -u
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
exe="$source_dir/build/mingw-x86/bin/Ravlek.exe"
if ! "$source_dir/scripts/setup.sh" --runs-32-bit; then
  echo "skipped: this kernel does not run 32-bit programs, so Wine has no 32-bit mode here"
  exit 77
fi
if ! /usr/lib/wine/wine --version >/dev/null 2>&1 && ! apt-get install -s -qq wine32:i386 >/dev/null 2>&1; then
  echo "skipped: Wine's 32-bit mode is missing and Debian's wine32 cannot be installed now (its lists and the 64-bit side's are out of step)"
  exit 77
fi
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "Wine's 32-bit mode is missing: scripts/setup.sh installs wine32 where the kernel runs 32-bit programs"
  exit 1
fi
[ -f "$exe" ] || { echo "no 32-bit build at $exe: scripts/release.sh makes it"; exit 1; }
RAVLEK_E2E_EXE="$exe" RAVLEK_E2E_SMOKE=1 exec "$source_dir/tests/e2e/run-e2e.sh" "$1"
