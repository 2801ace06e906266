# Shared by the shell tests: named checks that are counted, and waits for outcomes.
# Source it; report with "$passed passed, $failed failed".
passed=0 failed=0
check() {  # check "what" COMMAND...
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "ok: $what"
  else failed=$((failed + 1)); echo "FAILED: $what"; fi
}
same() { [ "$1" = "$2" ] || { echo "  expected: $2"; echo "  got:      $1"; return 1; }; }
wait_until() {  # wait_until SECONDS COMMAND...: until the command succeeds, false when the time is up
  local limit=$(( $(date +%s) + $1 )); shift
  until "$@"; do [ "$(date +%s)" -ge "$limit" ] && return 1; sleep 0.2; done
}
