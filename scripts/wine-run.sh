#!/usr/bin/env bash
# Runs a Windows program under Wine in the test prefix (CMAKE_CROSSCOMPILING_EMULATOR).
# The prefix is made on first use in $RAVLEK_TEST_ROOT (the test command wipes that
# folder at the start of every run): drives D:, E:, F:, R:, S:, V:, W: are fixture folders, X: is a
# drive that is not ready, B: is the build folder (so programs run from it know
# their own path), and nothing maps the Linux root.
set -u
# As root, Wine would read and write everything, unlike a Windows user: run it
# without the capabilities that override file permissions, so that a locked
# folder or a write-protected file behaves as it would on Windows.
if [ "$(id -u)" -eq 0 ] && [ -z "${RAVLEK_CAPS_DROPPED:-}" ] && command -v setpriv >/dev/null 2>&1; then
  export RAVLEK_CAPS_DROPPED=1
  exec setpriv --inh-caps -dac_override,-dac_read_search \
               --bounding-set -dac_override,-dac_read_search "$0" "$@"
fi
root=${RAVLEK_TEST_ROOT:-${TMPDIR:-/tmp}/ravlek-test}
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="$root/prefix" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
mkdir -p "$root"
(
  flock 9
  if [ ! -e "$WINEPREFIX/.test-ready" ]; then
    "$here/wine-prefix.sh" "$WINEPREFIX" "$root/drives" ${RAVLEK_DRIVES:-d e f r s v w x! "b=$(dirname "$root")"} 9>&-
    touch "$WINEPREFIX/.test-ready"
  fi
  # Start the server and Wine's services with stdio detached, or ctest waits on them.
  wine cmd /c exit 9>&-
) 9>>"$root/prefix.lock" </dev/null >/dev/null 2>&1
exec wine "$@"
