#!/usr/bin/env bash
# Installs what building and testing Ravlek needs on a Debian machine.
# Idempotent: when everything is present it only checks and returns.
#   setup.sh --runs-32-bit   only tells (exit code) whether this kernel runs 32-bit programs
set -euo pipefail

# A 32-bit program of a few bytes that only exits: some kernels are built or booted
# without 32-bit support, and there Wine's 32-bit mode cannot work (installing it
# would even take over the "wine" command).
runs_32_bit() {
  local probe result=0
  probe=$(mktemp)
  # ELF header, one loadable segment, then: mov eax, 1; xor ebx, ebx; int 0x80.
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00''\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00''\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' > "$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || result=1
  rm -f "$probe"
  return "$result"
}
if [ "${1:-}" = --runs-32-bit ]; then
  runs_32_bit
  exit
fi

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

have_cmd cmake                          || need+=(cmake)
have_cmd x86_64-w64-mingw32-g++-posix   || need+=(g++-mingw-w64-x86-64-posix)
have_cmd x86_64-w64-mingw32-windres     || need+=(binutils-mingw-w64-x86-64)
have_cmd i686-w64-mingw32-g++-posix     || need+=(g++-mingw-w64-i686-posix)
have_cmd i686-w64-mingw32-windres       || need+=(binutils-mingw-w64-i686)
have_cmd wine                           || need+=(wine)
have_pkg wine64                         || need+=(wine64)
have_cmd Xvfb                           || need+=(xvfb)
have_cmd xdotool                        || need+=(xdotool)
have_cmd xwininfo                       || need+=(x11-utils)
have_cmd chmcmd                         || need+=(fp-utils)
have_cmd import                         || need+=(imagemagick)
have_cmd python3                        || need+=(python3)
have_cmd bc                             || need+=(bc)
have_cmd mkntfs                         || need+=(ntfs-3g)
have_cmd setpriv                        || need+=(util-linux)
have_cmd x11vnc                         || need+=(x11vnc)
have_cmd websockify                     || need+=(websockify)
[ -f /usr/share/novnc/vnc.html ]        || need+=(novnc)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
# The file table reader's fuzz target builds natively with clang's sanitizers.
have_cmd clang++                        || need+=(clang)
have_pkg libclang-rt-14-dev             || need+=(libclang-rt-14-dev)

# The 32-bit build's smoke test needs Wine's 32-bit mode, where it can work.
add_i386=false
if ! have_pkg wine32:i386 && runs_32_bit; then
  dpkg --print-foreign-architectures | grep -qx i386 || add_i386=true
  need+=(wine32:i386)
fi

if [ ${#need[@]} -gt 0 ]; then
  echo "setup: installing ${need[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  if $add_i386; then $SUDO dpkg --add-architecture i386; fi
  # A mirror that is syncing fails an index now and then: tried again, and where
  # one still fails, the install below says whether what it needs was listed.
  for attempt in 1 2 3; do
    $SUDO apt-get update -qq && break
    [ "$attempt" -lt 3 ] && sleep 20
  done || true
  if ! $SUDO apt-get install -y -qq "${need[@]}" >/dev/null; then
    # wine32 needs each of its libraries in the very version the 64-bit side has:
    # while a mirror serves the two sides' lists out of step it cannot be had, and
    # everything else still can. The 32-bit smoke test then says why it is skipped.
    rest=()
    for package in "${need[@]}"; do [ "$package" = wine32:i386 ] || rest+=("$package"); done
    [ ${#rest[@]} -lt ${#need[@]} ] || exit 1
    echo "setup: wine32 cannot be installed now; installing the rest without it"
    $SUDO apt-get install -y -qq "${rest[@]}" >/dev/null
  fi
fi
