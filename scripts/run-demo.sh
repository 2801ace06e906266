#!/usr/bin/env bash
# Installs what is missing, builds Ravlek and starts it under Wine in a private
# prefix: D: holds sample files, E: is an empty folder to move files to, and no
# drive reaches the Linux file system.
#
#   scripts/run-demo.sh [--port N] [--headless] [--no-build]
#
# With a display, the window opens there. Without one (an SSH session, a
# container), Ravlek runs on a virtual display that a VNC server shows, and noVNC
# puts it in a web page: open the address the script prints (forward the port
# over SSH first: ssh -L 6080:localhost:6080 host). Everything listens on
# localhost only. --port (or RAVLEK_DEMO_PORT) picks the web page's port, 6080 by
# default; --headless uses the browser even when there is a display. Whatever the
# script started ends with it, Ctrl+C included.
set -euo pipefail
cd "$(dirname "$0")/.."
here=$PWD

port=${RAVLEK_DEMO_PORT:-6080}
headless=false
build=true
while [ $# -gt 0 ]; do
  case "$1" in
    --port) port=${2:?--port needs a number}; shift 2 ;;
    --port=*) port=${1#--port=}; shift ;;
    --headless) headless=true; shift ;;
    --no-build) build=false; shift ;;
    *) echo "run-demo.sh: unknown option $1 (use --port N, --headless, --no-build)" >&2; exit 2 ;;
  esac
done
case "$port" in '' | *[!0-9]*) echo "run-demo.sh: the port must be a number, not '$port'" >&2; exit 2 ;; esac

root=${RAVLEK_DEMO_ROOT:-$here/build/mingw/wine-demo}
# What the demo starts runs in process groups of its own (setsid), so that Ctrl+C
# or a stop sent to the demo's group reaches this script alone, and it ends them
# in order: Wine's programs (the prefix maker among them) before the display
# they show on, and the display before nothing.
displayed=() wine_jobs=()
stop_group() {  # stop_group PID: the process group PID leads, and waits for PID
  kill -TERM -- "-$1" 2>/dev/null || kill -TERM "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}
cleanup() {
  trap - EXIT INT TERM
  exec 2>/dev/null  # no word from the shell about what it ends here
  local i
  for ((i = ${#wine_jobs[@]} - 1; i >= 0; i--)); do stop_group "${wine_jobs[i]}"; done
  # Whatever Wine started in the prefix (services, a half-made prefix's boot)
  # ends with its server, and lets go of the display first.
  WINEPREFIX="$root/prefix" wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX="$root/prefix" wineserver -w >/dev/null 2>&1 || true
  for ((i = ${#displayed[@]} - 1; i >= 0; i--)); do stop_group "${displayed[i]}"; done
}
trap cleanup EXIT
# A stop the person asked for is no failure, whenever it comes.
stopped() { echo; echo "Stopped."; exit "$1"; }
trap 'stopped 130' INT
trap 'stopped 143' TERM

# Waits without a child process: one killed by the stop would be reported by
# the shell as if something had failed.
pause() { read -rt "$1" <> <(:) || true; }
# Runs a command in the foreground. Should a stop end it, the shell's own word
# about that ("Terminated") goes nowhere, while the command's messages still
# reach the terminal: the stop is the person's, not the command's failure.
step() { { "$@" 2>&3 3>&-; } 3>&2 2>/dev/null; }
# wait_for SECONDS WHAT COMMAND...: until the command succeeds, or says what did not come.
wait_for() {
  local limit=$(($(date +%s) + $1)) limit_seconds=$1 what=$2
  shift 2
  until { "$@"; } >/dev/null 2>&1; do
    if [ "$(date +%s)" -ge "$limit" ]; then
      echo "run-demo.sh: $what did not answer within $limit_seconds s." >&2
      return 1
    fi
    pause 0.2
  done
}
port_free() { ! { (exec 3<>"/dev/tcp/127.0.0.1/$1"); } 2>/dev/null; }
listening() { ! port_free "$1"; }
free_port() {  # free_port FIRST: the first port from FIRST on that nothing listens on
  local candidate=$1
  while ! port_free "$candidate"; do candidate=$((candidate + 1)); done
  echo "$candidate"
}
free_display() {
  local n=${RAVLEK_DISPLAY:-55}
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  echo "$n"
}

if $build; then
  step scripts/setup.sh
  step cmake --preset mingw >/dev/null
  step cmake --build --preset mingw -j2 --target Ravlek ravlek_manual
fi
[ -f build/mingw/bin/Ravlek.exe ] || { echo "run-demo.sh: build/mingw/bin/Ravlek.exe is missing; run without --no-build" >&2; exit 1; }

# The display comes first: Wine's first program in the prefix starts its
# services, and they keep the display they found.
if $headless || [ -z "${DISPLAY:-}" ]; then
  if ! port_free "$port"; then
    echo "run-demo.sh: port $port is taken; pick another with --port N" >&2
    exit 1
  fi
  export DISPLAY=:$(free_display)
  setsid Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  displayed+=($!)
  wait_for 20 "The virtual display $DISPLAY" xdpyinfo -display "$DISPLAY"
  vnc_port=$(free_port 5900)
  setsid x11vnc -display "$DISPLAY" -localhost -rfbport "$vnc_port" -forever -shared -nopw -quiet >/dev/null 2>&1 &
  displayed+=($!)
  wait_for 20 "The VNC server" listening "$vnc_port"
  setsid websockify --web /usr/share/novnc "127.0.0.1:$port" "127.0.0.1:$vnc_port" >/dev/null 2>&1 &
  displayed+=($!)
  wait_for 20 "noVNC's web server" listening "$port"
  echo "Ravlek runs on the virtual display $DISPLAY (VNC server on localhost:$vnc_port)."
  echo "Open in a browser: http://localhost:$port/vnc.html?autoconnect=1&resize=scale"
  echo "(from another machine: ssh -L $port:localhost:$port this-host, then the same address)"
else
  wait_for 10 "The display $DISPLAY" xdpyinfo -display "$DISPLAY"
fi
step scripts/make-demo-files.sh "$root/drives/d"
step mkdir -p "$root/drives/e"
# Volume labels, as Wine reads them from the drive roots.
printf 'Demo files' > "$root/drives/d/.windows-label"
printf 'Move target' > "$root/drives/e/.windows-label"
export RAVLEK_TEST_ROOT="$root" RAVLEK_DRIVES="d e"
# Makes the prefix on first use (a half-made one is made again), in the
# background: a stop must not wait for it.
setsid scripts/wine-run.sh cmd /c exit >/dev/null 2>&1 &
wine_jobs+=($!)
wait "${wine_jobs[-1]}" || true
app="$root/prefix/drive_c/Ravlek"
step mkdir -p "$app"
step cp build/mingw/bin/Ravlek.exe "$app/"
[ -f build/mingw/bin/Ravlek.chm ] && step cp build/mingw/bin/Ravlek.chm "$app/"

echo "Ravlek starts; close its window or press Ctrl+C here to end the demo."

window_shown() { { xwininfo -root -tree | grep -q '"Ravlek v'; } 2>/dev/null; }
(cd "$app" && exec setsid "$here/scripts/wine-run.sh" 'C:\Ravlek\Ravlek.exe') &
ravlek=$!
wine_jobs+=("$ravlek")
shown=false
while kill -0 "$ravlek" 2>/dev/null; do
  if ! $shown && window_shown; then shown=true; fi
  pause 0.5
done
code=0
wait "$ravlek" || code=$?
if [ "$code" -ne 0 ] || ! $shown; then
  echo "run-demo.sh: Ravlek ended with exit code $code$($shown || echo " before its window appeared")." >&2
  echo "  Another copy may still run in this demo (Ravlek runs once at a time): close it, or end it with" >&2
  echo "    WINEPREFIX=$root/prefix wineserver -k" >&2
  echo "  To see Wine's own messages, run again with WINEDEBUG=err+all." >&2
  exit $((code == 0 ? 1 : code))
fi
echo "Ravlek ended normally."
