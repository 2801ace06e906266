#!/usr/bin/env bash
# The demo as a newcomer without a display uses it: scripts/run-demo.sh --headless
# on a free port, Ravlek's window on its virtual display, noVNC's page answering,
# the VNC server greeting in its own protocol, then Ctrl+C, after which nothing the
# demo started is left running.   demo-test.sh BUILD_DIR
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

RAVLEK_DEMO_ROOT="$root" RAVLEK_DISPLAY=$((200 + RANDOM % 300)) \
  "$source_dir/scripts/run-demo.sh" --headless --no-build --port "$port" > "$log" 2>&1 &
demo=$!

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
# What the demo started: its display server, VNC server, web server and Wine.
leftovers() {
  pgrep -af "Xvfb $(display) |x11vnc -display $(display) |websockify .*127.0.0.1:$port |$root/prefix" | grep -v pgrep
}
nothing_left() { ! leftovers >/dev/null; }

check "the demo prints the address to open" wait_until 120 address
check "the address is on the chosen port" grep -q "http://localhost:$port/vnc.html?autoconnect=1" "$log"
check "Ravlek's window shows on the virtual display" wait_until 60 window_shown
check "noVNC's page answers" page_answers
check "the VNC server speaks its protocol" vnc_greets
check "the demo still runs" kill -0 "$demo"

kill -INT -- -"$demo"  # Ctrl+C
wait "$demo"
code=$?
check "Ctrl+C ends the demo (exit code 130)" [ "$code" -eq 130 ]
check "nothing the demo started is left running" wait_until 15 nothing_left
leftovers
check "the port is free again" python3 -c "import socket; socket.create_server(('127.0.0.1', $port)).close()"

echo "--- the demo's output:"
cat "$log"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
