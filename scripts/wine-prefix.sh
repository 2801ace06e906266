#!/usr/bin/env bash
# Creates a private Wine prefix that cannot reach the Linux file system:
#   make-prefix PREFIX DRIVES_DIR [LETTER...]
# Z: (which Wine links to /) is removed, the user folders that Wine links to
# $HOME become empty folders, and each LETTER is mapped to DRIVES_DIR/LETTER.
# Letters named with a trailing "!" are mapped to a folder that does not exist
# (a drive that is not ready); LETTER=PATH maps a letter to an existing folder.
set -euo pipefail
prefix=$1; drives=$2; shift 2
here=$(cd "$(dirname "$0")" && pwd)

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")" "$drives"
wineboot -i </dev/null >/dev/null 2>&1
wine reg import "$here/test-prefix.reg" </dev/null >/dev/null 2>&1
# Drive mappings are read when the server starts.
wineserver -k || true
wineserver -w || true

rm -f "$prefix/dosdevices/z:" "$prefix/dosdevices/z::"
for user_dir in "$prefix"/drive_c/users/*/; do
  for link in "$user_dir"*; do
    if [ -L "$link" ]; then rm -f "$link"; mkdir -p "$link"; fi
  done
done
for letter in "$@"; do
  case "$letter" in
    *!) letter=${letter%!}; target="$drives/$letter-missing" ;;
    *=*) target=${letter#*=}; letter=${letter%%=*} ;;
    *)  target="$drives/$letter"; mkdir -p "$target" ;;
  esac
  rm -f "$prefix/dosdevices/$letter:"
  ln -s "$target" "$prefix/dosdevices/$letter:"
done
