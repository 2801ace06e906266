#!/usr/bin/env bash
# Installs what is missing, builds Ravlek and starts it under Wine in a private
# prefix: D: holds sample files, E: is an empty folder to move files to, and no
# drive reaches the Linux file system. Without a display, a virtual one is started
# (see it with: import -display :$RAVLEK_DISPLAY -window root shot.png).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j2 --target Ravlek ravlek_manual

root="$PWD/build/mingw/wine-demo"
scripts/make-demo-files.sh "$root/drives/d"
mkdir -p "$root/drives/e"
# Volume labels, as Wine reads them from the drive roots.
printf 'Demo files' > "$root/drives/d/.windows-label"
printf 'Move target' > "$root/drives/e/.windows-label"
export RAVLEK_TEST_ROOT="$root" RAVLEK_DRIVES="d e"
scripts/wine-run.sh cmd /c exit   # makes the prefix on first use
app="$root/prefix/drive_c/Ravlek"
mkdir -p "$app"
cp build/mingw/bin/Ravlek.exe "$app/"
[ -f build/mingw/bin/Ravlek.chm ] && cp build/mingw/bin/Ravlek.chm "$app/"

if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:${RAVLEK_DISPLAY:-55}
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  trap 'kill $! 2>/dev/null' EXIT
  echo "No display: Ravlek runs on the virtual display $DISPLAY"
fi
here=$PWD
cd "$app"   # so that Wine starts in C:\Ravlek
exec "$here/scripts/wine-run.sh" 'C:\Ravlek\Ravlek.exe'
