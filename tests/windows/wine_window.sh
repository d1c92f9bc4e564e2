# Shared by the Windows program's tests under Wine (sourced, not run).
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Closes the program's frame WINDOW with Alt+F4, as a user would, and
# requires the process PID to end, and to end well, within ten seconds.
close_with_alt_f4() {
  local window="$1" pid="$2"
  xdotool key --window "$window" alt+F4
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  kill -0 "$pid" 2>/dev/null && fail "Alt+F4 did not end the program"
  wait "$pid" || fail "the program ended with a failure status"
}
