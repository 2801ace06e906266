#!/usr/bin/env bash
# Lays out what a Windows program under Wine cannot make for itself: links to
# folders and a folder that cannot be read. Run before the tests that use them.
#   D:\native\purge\          a folder to remove; holds a link to E:\native\outside\
#   D:\native\walk\locked\    a folder nobody may read
#   D:\native\readonly-app\    Ravlek.exe in a folder nobody may write to
#   R:\                         a drive root nobody may write to
set -euo pipefail
drives=$1
d="$drives/d/native"; e="$drives/e/native"
[ -d "$d/walk/locked" ] && chmod 755 "$d/walk/locked"
[ -d "$d/readonly-app" ] && chmod 755 "$d/readonly-app"
rm -rf "$d" "$e"
mkdir -p "$d/purge/sub" "$e/outside/deeper" "$e/empty-outside" "$d/walk/locked" "$d/walk/open"

printf 'keep me' > "$e/outside/precious.txt"
printf 'keep me too' > "$e/outside/deeper/precious2.txt"
printf 'a' > "$d/purge/a.txt"
printf 'b' > "$d/purge/sub/b.txt"
ln -s "$e/outside" "$d/purge/sub/link-to-outside"
ln -s "$e/empty-outside" "$d/purge/link-to-empty"

printf 'x' > "$d/walk/open/seen.dat"
printf 'y' > "$d/walk/locked/hidden.dat"
printf 'z' > "$d/walk/last.dat"
chmod 000 "$d/walk/locked"

mkdir -p "$d/readonly-app" "$drives/r"
cp "$drives/../../bin/Ravlek.exe" "$d/readonly-app/"
chmod 555 "$d/readonly-app" "$drives/r"
