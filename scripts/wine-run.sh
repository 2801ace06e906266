#!/usr/bin/env bash
# Runs a Windows program under Wine in the test prefix (CMAKE_CROSSCOMPILING_EMULATOR).
# The prefix is made on first use in $RAVLEK_TEST_ROOT (the test command wipes that
# folder at the start of every run): drives D:, E:, F:, R:, S:, V:, W: are fixture folders, X: is a
# drive that is not ready, B: is the build folder (so programs run from it know
# their own path), and nothing maps the Linux root.
set -u
# RAVLEK_MEMORY_LIMIT_MB: the program runs in a memory control group of that
# size (cgroup v2 or v1, where this machine lets root make one), so that a test
# that reads crafted input and runs away is ended rather than the machine.
limit_memory() {
  local megabytes=$1 group
  rmdir /sys/fs/cgroup/ravlek-* /sys/fs/cgroup/memory/ravlek-* 2>/dev/null  # the groups of runs that ended
  if [ -w /sys/fs/cgroup/cgroup.subtree_control ] && grep -qw memory /sys/fs/cgroup/cgroup.controllers 2>/dev/null; then
    group=/sys/fs/cgroup/ravlek-$$
    mkdir -p "$group" && echo $((megabytes * 1024 * 1024)) >"$group/memory.max" && echo $$ >"$group/cgroup.procs" && return
  elif [ -w /sys/fs/cgroup/memory ]; then
    group=/sys/fs/cgroup/memory/ravlek-$$
    mkdir -p "$group" && echo $((megabytes * 1024 * 1024)) >"$group/memory.limit_in_bytes" && echo $$ >"$group/cgroup.procs" && return
  fi
  echo "wine-run.sh: no memory control group here; the program runs without a limit" >&2
}
if [ -n "${RAVLEK_MEMORY_LIMIT_MB:-}" ] && [ -z "${RAVLEK_CAPS_DROPPED:-}" ] && [ "$(id -u)" -eq 0 ]; then
  limit_memory "$RAVLEK_MEMORY_LIMIT_MB"
fi
# As root, Wine would read and write everything, unlike a Windows user: run it
# without the capabilities that override file permissions, so that a locked
# folder or a write-protected file behaves as it would on Windows.
if [ "$(id -u)" -eq 0 ] && [ -z "${RAVLEK_CAPS_DROPPED:-}" ] && command -v setpriv >/dev/null 2>&1; then
  export RAVLEK_CAPS_DROPPED=1
  exec setpriv --inh-caps -dac_override,-dac_read_search \
               --bounding-set -dac_override,-dac_read_search "$0" "$@"
fi
# The loader of the program's own bitness. Plain "wine" is the 32-bit loader
# wherever Debian's wine32 is installed, and it hands a 64-bit program given by
# a Linux path to the 64-bit loader through a DOS path, which a prefix without
# Z: cannot give: the start fails. A DOS path is looked up in the prefix's drives.
wine_loader() {  # wine_loader PROGRAM: prints the loader to run PROGRAM with
  local file=$1 offset machine
  case "$file" in
    [A-Za-z]:\\*) file="$WINEPREFIX/dosdevices/$(printf %s "${file:0:1}" | tr A-Z a-z):/$(printf %s "${file:3}" | tr '\\' /)" ;;
  esac
  machine=8664
  if [ -f "$file" ]; then
    offset=$(od -An -tu4 -j60 -N4 "$file" 2>/dev/null | tr -d ' ')
    [ -n "$offset" ] && machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$file" 2>/dev/null | tr -d ' ')
  fi
  case "$machine" in
    014c) [ -x /usr/lib/wine/wine ] && { echo /usr/lib/wine/wine; return; } ;;
    *) [ -x /usr/lib/wine/wine64 ] && { echo /usr/lib/wine/wine64; return; } ;;
  esac
  echo wine
}
root=${RAVLEK_TEST_ROOT:-${TMPDIR:-/tmp}/ravlek-test}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/prefix-links.sh"
export WINEPREFIX="$root/prefix" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
mkdir -p "$root"
(
  flock 9
  # A prefix made before every link to $HOME was replaced is made anew.
  if [ ! -e "$WINEPREFIX/.test-ready" ] || [ -n "$(prefix_leads_out "$WINEPREFIX")" ]; then
    "$here/wine-prefix.sh" "$WINEPREFIX" "$root/drives" ${RAVLEK_DRIVES:-d e f r s v w x! "b=$(dirname "$root")"} 9>&-
    touch "$WINEPREFIX/.test-ready"
  fi
  # Start the server and Wine's services with stdio detached, or ctest waits on them.
  "$(wine_loader cmd)" cmd /c exit 9>&-
) 9>>"$root/prefix.lock" </dev/null >/dev/null 2>&1
exec "$(wine_loader "${1:-}")" "$@"
