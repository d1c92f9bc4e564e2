# Sourced by the tests that operate the flight example in a host's window.
# operate_flight: xdotool works the heading bug, the barometric strip and a
# soft key through the caller's `move X Y` (display units, y up, the
# pointer's motion waited for). Paused at the first frame the heading is 35
# and the bug at 70; afterwards the bug is at 216, the setting at 1015 and
# the page 1.
operate_flight() {
  # The rose's centre is (250, 185); a point a degrees clockwise from its
  # top sets the bug to 35 + a.
  move 250 120
  xdotool click --repeat 10 --delay 20 4    # ten steps up: 80
  move 350 185
  xdotool mousedown 1                       # 90 degrees right: 125
  sleep 0.2
  move 330 120
  move 250 85
  xdotool mouseup 1                         # dragged to the bottom: 215
  move 600 209
  xdotool click 1 && sleep 0.1 && xdotool click 1   # the strip's right half twice: 1015
  move 635 153
  xdotool click 1                           # soft key BUG: page 1
  sleep 0.2
  xdotool key Right                         # the bug one degree on: 216
}

# stop_listeners_when_quiet N: once the listeners' files ($out/received-*)
# have not grown for two seconds (or after a minute), the first N of
# $pids, the listeners, are stopped. The test decides when the host is
# done, not the listeners: a slow moment between two operations on a
# loaded machine must not end them early.
stop_listeners_when_quiet() {
  local last="" now deadline=$((SECONDS + 60)) p
  while [ $SECONDS -lt $deadline ]; do
    now="$(cat "$out"/received-* | wc -c)"
    [ "$now" = "$last" ] && break
    last="$now"
    sleep 2
  done
  for p in "${pids[@]:0:$1}"; do
    kill "$p" 2>/dev/null || true
    wait "$p" 2>/dev/null || true
  done
}
