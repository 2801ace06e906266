#!/usr/bin/env bash
# Installs what building and testing Ravlek needs on a Debian machine.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

have_cmd cmake                          || need+=(cmake)
have_cmd x86_64-w64-mingw32-g++-posix   || need+=(g++-mingw-w64-x86-64-posix)
have_cmd x86_64-w64-mingw32-windres     || need+=(binutils-mingw-w64-x86-64)
have_cmd wine                           || need+=(wine)
have_pkg wine64                         || need+=(wine64)
have_cmd Xvfb                           || need+=(xvfb)
have_cmd xdotool                        || need+=(xdotool)
have_cmd xwininfo                       || need+=(x11-utils)
have_cmd chmcmd                         || need+=(fp-utils)
have_cmd import                         || need+=(imagemagick)
have_cmd python3                        || need+=(python3)
have_cmd bc                             || need+=(bc)
have_cmd setpriv                        || need+=(util-linux)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)

if [ ${#need[@]} -gt 0 ]; then
  echo "setup: installing ${need[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq "${need[@]}" >/dev/null
fi
