#!/usr/bin/env bash
# Ravlek.exe started as a script starts it: arguments, exit codes, the files it
# writes judged on the disk, and nothing else touched.   command-line.sh BUILD_DIR
# (needs DISPLAY: a stop asked from outside reaches the program through a window
# it never shows, as taskkill asks it).
set -u
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
root="$build/wine-command-line"
export RAVLEK_TEST_ROOT="$root" RAVLEK_DRIVES="d e w x!"
: "${DISPLAY:?the command-line test needs a display}"
source "$source_dir/tests/support/checks.sh"

[ -d "$root" ] && chmod -R u+rwX "$root" 2>/dev/null; rm -rf "$root"
mkdir -p "$root/drives/d/tree/deep" "$root/drives/e/out" "$root/drives/w"
d="$root/drives/d" e="$root/drives/e"
truncate -s 300M "$d/tree/disc.iso"
truncate -s 120M "$d/tree/deep/video, \"cut\".mkv"
head -c 70000 /dev/urandom > "$d/tree/deep/notes.TXT"
head -c 5000 /dev/urandom > "$d/readme.txt"
# A tree the stop can land in: its walk lasts over a second under Wine.
python3 -c '
import os, sys
for i in range(200):
    folder = os.path.join(sys.argv[1], "f%03d" % i)
    os.makedirs(folder)
    for j in range(500):
        open(os.path.join(folder, "x%04d" % j), "w").close()
' "$root/drives/w"
"$source_dir/scripts/wine-run.sh" cmd /c exit >/dev/null 2>&1
mkdir -p "$root/prefix/drive_c/Ravlek"
cp "$build/bin/Ravlek.exe" "$root/prefix/drive_c/Ravlek/"
trap 'WINEPREFIX="$root/prefix" wineserver -k >/dev/null 2>&1' EXIT
settings="$root/prefix/drive_c/Ravlek/Ravlek.ini"

# ravlek ARGS...: runs it as a script does, leaving $code, $out and $err.
ravlek() {
  out=$(cd "$root/prefix/drive_c/Ravlek" && "$source_dir/scripts/wine-run.sh" 'C:\Ravlek\Ravlek.exe' "$@" 2>"$root/err")
  code=$?
  out=$(printf %s "$out" | tr -d '\r'); err=$(tr -d '\r' < "$root/err" | grep -v ':err:\|^wine:')
}
nothing_written() { [ -z "$(ls -A "$e/out")" ]; }
says() { grep -qF -- "$2" <<<"$1" || { echo "  not said: $2"; echo "  said: $1"; return 1; }; }

echo "# usage"
ravlek '/?'
check "/? prints the usage and ends with 0" same "$code" 0
check "the usage names every option" says "$out" '[/at-least 100MB|256MB|512MB|650MB|1GB|4GB | /name TEXT] [/windows-folder]'

echo "# wrong input is said, never guessed"
wrong() {  # wrong EXPECTED_CODE SAID ARGS...
  local expected=$1 said=$2; shift 2
  ravlek "$@"
  same "$code" "$expected" && says "$err" "$said" && nothing_written
}
check "an unknown option" wrong 1 '"/frobnicate" is no option' /search D: /list 'E:\out\a.csv' /frobnicate
check "two criteria" wrong 1 'Give one criterion' /search D: /at-least 1GB /name iso /list 'E:\out\a.csv'
check "a size not in the list" wrong 1 '"300MB" is not one of the sizes' /search D: /at-least 300MB /list 'E:\out\a.csv'
check "a drive letter that is not one" wrong 1 '"DD" is no drive letter' /search DD /list 'E:\out\a.csv'
check "no drive" wrong 1 'Say which drive' /list 'E:\out\a.csv'
check "nothing to write" wrong 1 'Say where to write' /search D:
check "the usage follows what was wrong" says "$err" 'Exit codes: 0 done'
check "a file whose folder is not there" wrong 3 'E:\out\missing\a.csv' /search D: /list 'E:\out\missing\a.csv'
check "a drive that is not there" wrong 2 'Drive Q: cannot be searched: there is no such drive' /search Q: /list 'E:\out\a.csv'
check "a drive that is not ready" wrong 2 'Drive X: cannot be searched' /search X: /list 'E:\out\a.csv'
echo "kept" > "$e/kept.csv"; chmod a-w "$e/kept.csv"
ravlek /search D: /list 'E:\kept.csv'
check "a read-only file is not written over: exit code 3, with its path" eval 'same "$code" 3 && says "$err" "E:\\kept.csv"'
check "and it holds what it held" same "$(cat "$e/kept.csv")" kept

echo "# a search from a script"
ravlek /search d: /at-least 100MB /list 'E:\out\list.csv' /folders 'E:\out\folders.csv' /kinds 'E:\out\kinds.csv'
check "it ends with 0" same "$code" 0
check "and says what it found and wrote" says "$out" 'Found 2 files among'
list_holds() {
  python3 - "$e/out/list.csv" <<'PY'
import csv, sys
with open(sys.argv[1], "rb") as f:
    raw = f.read()
assert raw.startswith(b"\xef\xbb\xbf") and b"\r\n" in raw, raw[:20]
rows = list(csv.reader(raw.decode("utf-8-sig").splitlines()))
assert rows == [["Size in bytes", "Size", "File", "Read-only"],
                [str(300 << 20), "300 MB", "D:\\tree\\disc.iso", "no"],
                [str(120 << 20), "120 MB", 'D:\\tree\\deep\\video, "cut".mkv', "no"]], rows
PY
}
check "the list holds the two big files, largest first, as the window saves it" list_holds
check "the folder sizes hold what Linux says each folder's files take" \
  python3 "$source_dir/tests/e2e/folder-sizes.py" "$d" D tree "$e/out/folders.csv"
kinds_hold() {
  python3 - "$e/out/kinds.csv" <<'PY'
import csv, sys
with open(sys.argv[1], encoding="utf-8-sig", newline="") as f:
    rows = list(csv.reader(f))
assert rows[0] == ["Kind", "On disk in bytes", "Size in bytes", "Files"], rows[0]
kinds = {row[0]: (int(row[2]), int(row[3])) for row in rows[1:]}
assert kinds == {"iso": (300 << 20, 1), "mkv": (120 << 20, 1), "txt": (75000, 2)}, kinds
PY
}
check "the kinds hold each extension's size and files, letter case aside" kinds_hold
check "the settings file is never written" test ! -e "$settings"
rm -f "$e"/out/*
ravlek /search D: /name '"notes"' /list 'E:\out\named.csv'
check "a name search lists the one name holding the text" \
  eval 'same "$code" 0 && same "$(tail -n +2 "$e/out/named.csv" | tr -d "\r")" "70000,68.36 KB,D:\\tree\\deep\\notes.TXT,no"'
rm -f "$e"/out/*
ravlek /search C: /name .exe /list 'E:\out\c.csv'
check "the Windows folder is left out unless asked for" eval '! grep -qi "^[^,]*,[^,]*,C:\\\\windows\\\\" "$e/out/c.csv"'
ravlek /search C: /name .exe /windows-folder /list 'E:\out\c.csv'
check "and searched with /windows-folder" grep -qi '^[^,]*,[^,]*,C:\\windows\\' "$e/out/c.csv"
rm -f "$e"/out/*

echo "# a stop from outside"
# The program is held still the moment it says it is searching, the close is
# asked while it is held, and only then does it go on: the stop is waiting for it
# whatever the speed of this machine.
coproc script_search {
  cd "$root/prefix/drive_c/Ravlek" && exec "$source_dir/scripts/wine-run.sh" 'C:\Ravlek\Ravlek.exe' /search W: \
    /list 'E:\out\w.csv' /folders 'E:\out\w-folders.csv' 2>/dev/null
}
searching=$script_search_PID
read -r first_line <&"${script_search[0]}"
kill -STOP "$searching"
check "it says it is searching first" says "$first_line" 'Searching W:\'
closed=$("$source_dir/scripts/wine-run.sh" taskkill /im Ravlek.exe 2>/dev/null | tr -d '\r')
kill -CONT "$searching"
cat <&"${script_search[0]}" >/dev/null
wait "$searching"; code=$?
check "taskkill asks it to close" says "$closed" 'Close message sent'
check "a stopped search ends with 4" same "$code" 4
check "and writes nothing, not even part of a file" nothing_written

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
