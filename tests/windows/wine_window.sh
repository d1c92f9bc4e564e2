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

# Prints the id of the visible window whose title matches the regular
# expression TITLE, waiting up to twenty seconds; fails when the process PID
# ends first or no such window comes.
find_window() {
  local title="$1" pid="$2" found=""
  for _ in $(seq 1 100); do
    found="$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -1 || true)"
    [ -n "$found" ] && break
    kill -0 "$pid" 2>/dev/null || fail "the program ended at start-up"
    sleep 0.2
  done
  [ -n "$found" ] || fail "no window titled like '$title'"
  echo "$found"
}
