#!/usr/bin/env bash
# The demo as a newcomer without a display uses it: scripts/run-demo.sh --headless
# on a free port, Ravlek's window on its virtual display, noVNC's page answering,
# the VNC server greeting in its own protocol, then Ctrl+C, after which nothing the
# demo started is left running. And stopped at other moments, with Ctrl+C or a
# stop sent to its process group, its very first start (the prefix still being
# made) among them: each time it says "Stopped." and nothing else went wrong,
# nothing is left running, and the next start works.   demo-test.sh BUILD_DIR
set -u
set -m  # the demo runs in its own process group, as in a terminal, so Ctrl+C reaches it
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
root="$build/wine-demo-test"
log="$root/demo.log"
rm -rf "$root"
mkdir -p "$root"

source "$source_dir/tests/support/checks.sh"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

start_demo() {
  RAVLEK_DEMO_ROOT="$root" RAVLEK_DISPLAY=$((200 + RANDOM % 300)) \
    "$source_dir/scripts/run-demo.sh" --headless --no-build --port "$port" > "$log" 2>&1 &
  demo=$!
}

address() { grep -q 'http://localhost:[0-9]*/vnc.html' "$log"; }
display() { sed -n 's/.*on the virtual display \(:[0-9]*\).*/\1/p' "$log"; }
vnc_port() { sed -n 's/.*VNC server on localhost:\([0-9]*\).*/\1/p' "$log"; }
window_shown() { DISPLAY=$(display) xwininfo -root -tree 2>/dev/null | grep -q '"Ravlek v'; }
page_answers() {
  python3 - "$port" <<'PY'
import sys, urllib.request
page = urllib.request.urlopen(f"http://127.0.0.1:{sys.argv[1]}/vnc.html", timeout=5)
sys.exit(0 if page.status == 200 and b"noVNC" in page.read() else 1)
PY
}
vnc_greets() {
  python3 - "$(vnc_port)" <<'PY'
import socket, sys
with socket.create_connection(("127.0.0.1", int(sys.argv[1])), timeout=5) as server:
    sys.exit(0 if server.recv(12).startswith(b"RFB ") else 1)
PY
}
# What the demo started: its display server, VNC server, web server and every
# Wine program of its prefix (which Wine names as Windows programs).
leftovers() {
  pgrep -af "Xvfb $(display) |x11vnc -display $(display) |websockify .*127.0.0.1:$port |$root/prefix" | grep -v pgrep
  local environ
  for environ in /proc/[0-9]*/environ; do
    { tr '\0' '\n' < "$environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$root/prefix" &&
      echo "$(basename "$(dirname "$environ")") $({ tr '\0' ' ' < "$(dirname "$environ")/cmdline"; } 2>/dev/null)"
  done
}
nothing_left() { ! leftovers | grep -q .; }
said_no_failure() { ! grep -E "run-demo.sh:|broken|Another copy|Terminated" "$log"; }
# stop_demo SIGNAL CODE WHEN: the demo's process group is sent SIGNAL; it must end
# with CODE, say "Stopped." and nothing of a failure, and leave nothing running.
stop_demo() {
  kill "-$1" -- -"$demo"
  wait "$demo"
  local code=$?
  check "$1 $3 ends the demo (exit code $2, got $code)" [ "$code" -eq "$2" ]
  check "and it says Stopped. as its last line" same "$(tail -1 "$log")" "Stopped."
  check "and nothing of a failure" said_no_failure
  check "and nothing the demo started is left running" wait_until 15 nothing_left
  leftovers
}

# Its very first start, stopped while Wine makes the prefix.
start_demo
check "the first start prints the address to open" wait_until 120 address
making_prefix() { [ -d "$root/prefix" ]; }
check "and begins to make its Wine prefix" wait_until 60 making_prefix
sleep 2
stop_demo TERM 143 "while the prefix is made"
sleep 10
check "ten seconds later still nothing of the demo runs" nothing_left
leftovers
start_demo

check "the demo prints the address to open" wait_until 120 address
check "the address is on the chosen port" grep -q "http://localhost:$port/vnc.html?autoconnect=1" "$log"
check "Ravlek's window shows on the virtual display" wait_until 60 window_shown
check "noVNC's page answers" page_answers
check "the VNC server speaks its protocol" vnc_greets
check "the demo still runs" kill -0 "$demo"

stop_demo INT 130 "(Ctrl+C) once the window shows"
check "the port is free again" python3 -c "import socket; socket.create_server(('127.0.0.1', $port)).close()"

# Stopped as Ravlek starts, and again while it runs.
start_demo
check "the next start prints the address again" wait_until 120 address
stop_demo INT 130 "(Ctrl+C) as Ravlek starts"
start_demo
check "the window shows once more" wait_until 60 window_shown
stop_demo TERM 143 "once the window shows"

echo "--- the demo's output:"
cat "$log"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
