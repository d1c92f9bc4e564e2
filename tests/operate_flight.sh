# Sourced by the tests that operate the flight example in a host's window:
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

# start_listeners LISTENER FORMAT...: a test listener on 127.0.0.1 for each
# format, writing what it receives to $out/received-FORMAT.txt; its port in
# ports[FORMAT] (the caller declares `declare -A ports`), its id added to
# $pids. They run until stop_listeners_when_quiet.
start_listeners() {
  local listener="$1" format _
  shift
  for format in "$@"; do
    rm -f "$out/port-$format"
    : >"$out/received-$format.txt"
    "$listener" "$out/port-$format" "$out/received-$format.txt" 120000 &
    pids+=($!)
  done
  for format in "$@"; do
    for _ in $(seq 100); do [ -s "$out/port-$format" ] && break; sleep 0.1; done
    ports[$format]="$(cat "$out/port-$format")"
  done
}

# check_sent BUG: the listeners received the values operate_flight leaves
# (the bug at BUG, the setting 1015, page 1): the last FlightGear generic
# line, the JSON objects, and where an X-Plane listener ran, the DREFs of
# a bug at 216 and of page 1 (the float's four bytes little-endian, then
# the path).
check_sent() {
  local bug="$1" last
  last="$(tail -1 "$out/received-generic.txt")"
  [ "$last" = "$bug,1015,1" ] || fail "the generic listener's last line is '$last', not '$bug,1015,1'"
  grep -q "\"heading_bug\": $bug" "$out/received-json.txt" || fail "no JSON object with the bug at $bug"
  grep -q '"baro": 1015' "$out/received-json.txt" || fail "no JSON object with the setting at 1015"
  grep -q '"page": 1' "$out/received-json.txt" || fail "no JSON object with page 1"
  [ -f "$out/received-xplane.txt" ] || return 0
  grep -qF 'DREF\x00\x00\x00XCsim/cockpit/autopilot/heading_mag' "$out/received-xplane.txt" ||
    fail "no DREF setting heading_mag to 216"
  grep -qF 'DREF\x00\x00\x00\x80?sim/cockpit2/EFIS/map_mode' "$out/received-xplane.txt" ||
    fail "no DREF setting map_mode to 1"
}

# differing_controls A B: pixels of the compass, the barometric strip and
# the soft keys farther apart than 10 % in the two upright frames.
differing_controls() {
  local total=0 n region
  for region in 300x300+110+440 142x22+509+547 330x44+520+592; do
    convert "$1" -crop "$region" +repage "$out/a.png"
    convert "$2" -crop "$region" +repage "$out/b.png"
    n="$(compare -metric AE -fuzz 10% "$out/a.png" "$out/b.png" null: 2>&1 || true)"
    total=$((total + ${n%%.*}))
  done
  echo "$total"
}
