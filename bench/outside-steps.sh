# The steps the benchmarks that time Ravlek from outside take, as a person would:
# sourced after `runner` (scripts/wine-run.sh) is set, from the checkout's root.
run() { "$runner" "$@" 2>/dev/null | tr -d '\r'; }
probe() { run build/mingw/tests/window_probe.exe "$@"; }
wait_for() {  # wait_for SECONDS COMMAND...
  local limit=$(( $(date +%s) + $1 )); shift
  until "$@"; do [ "$(date +%s)" -ge "$limit" ] && { echo "gave up waiting for: $*"; exit 1; }; sleep 0.2; done
}
click() {  # click CONTROL_ID: the middle of the control
  local rect; rect=($(probe state | awk -F'\t' -v id="$1" '$1 == id { print $3 }'))
  xdotool mousemove $(( (rect[0] + rect[2]) / 2 )) $(( (rect[1] + rect[3]) / 2 )) click 1
}
shows() { [[ "$(probe state | awk -F'\t' -v id="$1" '$1 == id { print $4 }')" == "$2"* ]]; }
step() {  # step CHECK... -- ACTION...: the action until the check holds
  local check=() i
  while [ "$1" != -- ]; do check+=("$1"); shift; done; shift
  for i in 1 2 3 4 5; do "$@"; sleep 0.5; "${check[@]}" && return; xdotool key Escape; done
  echo "could not: $*"; exit 1
}
