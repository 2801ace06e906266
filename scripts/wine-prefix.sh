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
source "$here/prefix-links.sh"

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")" "$drives"
wineboot -i </dev/null >/dev/null 2>&1
wine reg import "$here/test-prefix.reg" </dev/null >/dev/null 2>&1
# Drive mappings are read when the server starts.
wineserver -k || true
wineserver -w || true

rm -f "$prefix/dosdevices/z:" "$prefix/dosdevices/z::"
# Every link Wine made to $HOME, at any depth: Templates lies four folders down
# (AppData/Roaming/Microsoft/Windows), and a walk of C: would go through it.
find "$prefix/drive_c/users" -type l -print0 | while IFS= read -r -d '' link; do
  rm -f "$link"; mkdir -p "$link"
done
if [ -n "$(prefix_leads_out "$prefix")" ]; then
  echo "wine-prefix.sh: links still lead out of $prefix: $(prefix_leads_out "$prefix" | head -3)" >&2
  exit 1
fi
for letter in "$@"; do
  case "$letter" in
    *!) letter=${letter%!}; target="$drives/$letter-missing" ;;
    *=*) target=${letter#*=}; letter=${letter%%=*} ;;
    *)  target="$drives/$letter"; mkdir -p "$target" ;;
  esac
  rm -f "$prefix/dosdevices/$letter:"
  ln -s "$target" "$prefix/dosdevices/$letter:"
done
