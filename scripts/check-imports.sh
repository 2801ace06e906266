#!/usr/bin/env bash
# Lists what a Ravlek exe imports and checks that it loads on the oldest Windows
# the README claims, Windows XP: the PE header asks for no later system, and every
# imported function is declared by the Windows headers for XP (_WIN32_WINNT 0x0501).
# Calls of later systems are looked up at run time instead (toolkit/later_calls).
#   check-imports.sh EXE [--list]
set -euo pipefail
exe=$1
case "$(file -b "$exe")" in
  *x86-64*) prefix=x86_64-w64-mingw32 newest_system=5.02 ;;  # XP x64 Edition is 5.2
  *) prefix=i686-w64-mingw32 newest_system=5.01 ;;
esac
headers=$(mktemp -d)
trap 'rm -rf "$headers"' EXIT

"$prefix-objdump" -p "$exe" > "$headers/dump"
# "DLL: Function" for every import by name.
awk '/DLL Name:/ { dll = $3; next } dll && /^\t[0-9a-f]+\t/ { print dll ": " $NF } /^$/ { }' "$headers/dump" |
  sort -u > "$headers/imports"
[ "${2:-}" = --list ] && cat "$headers/imports"

failed=0
for field in MajorOSystemVersion MajorSubsystemVersion; do
  minor=${field/Major/Minor}
  version="$(awk -v f="$field" '$1 == f { print $2 }' "$headers/dump").$(awk -v f="$minor" '$1 == f { printf "%02d", $2 }' "$headers/dump")"
  if awk -v v="$version" -v n="$newest_system" 'BEGIN { exit !(v + 0 > n + 0) }'; then
    echo "$exe: the PE header asks for Windows $version ($field); XP needs $newest_system or less"
    failed=1
  fi
done

# The C runtime's own functions are XP's msvcrt.dll; the rest must be declared for XP.
{
  echo '#include <windows.h>'
  echo '#include <commctrl.h>'
  echo '#include <ole2.h>'
  echo '#include <shellapi.h>'
  echo '#include <shlobj.h>'
  echo 'void probe() {'
  grep -v '^msvcrt.dll: ' "$headers/imports" | grep -v ': __C_specific_handler$' | sed 's/^[^:]*: \(.*\)/    (void)\&\1;/'
  echo '}'
} > "$headers/probe.cpp"
if ! "$prefix-g++-posix" -fsyntax-only -D_WIN32_WINNT=0x0501 -DWINVER=0x0501 -DUNICODE -D_UNICODE \
    "$headers/probe.cpp" 2> "$headers/errors"; then
  echo "$exe imports functions that Windows XP lacks:"
  sed -n "s/.*‘\([A-Za-z0-9_]*\)’ was not declared.*/  \1/p" "$headers/errors" | sort -u
  failed=1
fi
[ "$failed" -eq 0 ] && echo "$exe: $(wc -l < "$headers/imports") imports, every one in Windows XP"
exit "$failed"
