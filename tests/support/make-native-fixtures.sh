#!/usr/bin/env bash
# Lays out what a Windows program under Wine cannot make for itself: links to
# folders and a folder that cannot be read. Run before the tests that use them.
#   D:\native\purge\          a folder to remove; holds a link to E:\native\outside\
#   D:\native\walk\locked\    a folder nobody may read
#   D:\native\readonly-app\    Ravlek.exe in a folder nobody may write to
#   D:\native\deep\            a chain of folders far deeper than any tree a walk should need to climb by recursion
#   R:\                         a drive root nobody may write to
#   (and the links, temporary folders, append-only folder and full drive below)
set -euo pipefail
drives=$1
d="$drives/d/native"; e="$drives/e/native"
[ -d "$d/walk/locked" ] && chmod 755 "$d/walk/locked"
[ -d "$d/readonly-app" ] && chmod 755 "$d/readonly-app"
{ [ -d "$d/append-only" ] && chattr -a "$d/append-only"; } 2>/dev/null || true
{ mountpoint -q "$d/full" && umount "$d/full"; } 2>/dev/null || true
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

# Links the walk must follow once: a loop back up, and a link to a sibling folder
# that sorts before it.   D:\native\links\real\{file.dat, up -> ..}, D:\native\links\a-link -> real
mkdir -p "$d/links/real"
printf 'once' > "$d/links/real/file.dat"
ln -s .. "$d/links/real/up"
ln -s real "$d/links/a-link"

# Temporary folders that are links: one to the root of E:, one to an ordinary folder.
#   D:\native\temp-to-root -> E:\,  D:\native\temp-to-folder -> D:\native\ordinary-temp
mkdir -p "$d/ordinary-temp" "$drives/e"
ln -s "$drives/e" "$d/temp-to-root"
ln -s "$d/ordinary-temp" "$d/temp-to-folder"

# A folder where files can be made but never removed again (append-only).
mkdir -p "$d/append-only"
chattr +a "$d/append-only" 2>/dev/null || true

# A small drive that is full, holding a settings file: D:\native\full\Ravlek.ini
mkdir -p "$d/full"
if mount -t tmpfs -o size=64k tmpfs "$d/full" 2>/dev/null; then
  printf '; old settings\r\nUpdate_Check = 2020\r\n' > "$d/full/Ravlek.ini"
  head -c 1M /dev/zero > "$d/full/filler" 2>/dev/null || true
fi

# A chain of 100 folders of 30-letter names with 1,000 folders at its bottom, each
# holding one file:   D:\native\deep\aaa...\aaa...\...\{0..999}\f
bottom="$d/deep$(printf '/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa%.0s' $(seq 100))"
mkdir -p "$bottom"
(cd "$bottom" && for i in $(seq 0 999); do mkdir "$i" && printf '%*s' $((1 + i % 7)) '' > "$i/f"; done)

# V: and W: report one volume serial, as one disk reached under two letters (subst,
# a share of the same disk) does.
mkdir -p "$drives/v" "$drives/w"
printf 5eed0001 > "$drives/v/.windows-serial"
printf 5eed0001 > "$drives/w/.windows-serial"
