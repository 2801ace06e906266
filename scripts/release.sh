#!/usr/bin/env bash
# Builds Ravlek for 64-bit and 32-bit Windows, checks that both exes load on
# Windows XP by their imports, and packs build/release/Ravlek-<version>-x64.zip and
# Ravlek-<version>-x86.zip, each with the exe and the manual.
#   release.sh [--no-setup]   (the test command has run the set-up already)
set -euo pipefail
cd "$(dirname "$0")/.."
[ "${1:-}" = --no-setup ] || scripts/setup.sh

mkdir -p build/release
for preset in mingw mingw-x86; do
  cmake --preset "$preset" -DRAVLEK_WARNINGS_AS_ERRORS=ON >/dev/null
  cmake --build --preset "$preset" -j2 --target Ravlek ravlek_manual
  scripts/check-imports.sh "build/$preset/bin/Ravlek.exe"
  (cd "build/$preset" && cpack -G ZIP -B "$PWD/../release" >/dev/null)
done
rm -rf build/release/_CPack_Packages
for zip in build/release/Ravlek-*.zip; do
  echo "$zip: $(python3 -c 'import sys, zipfile; print(", ".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip")"
done
