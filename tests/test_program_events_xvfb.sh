#!/usr/bin/env bash
# The flight example operated in the program on an X display (run it
# through with_xvfb.sh):
#   test_program_events_xvfb.sh PROGRAM SNAPSHOT LISTENER MODULE DATA_DIR OUT_DIR
# xdotool turns the wheel on the compass rose, drags the heading bug, clicks
# the barometric strip and a soft key, and presses the Right arrow key; three
# test listeners on 127.0.0.1 (the program's --send, once per format) must
# receive the FlightGear generic line, the X-Plane DREF datagrams and the
# JSON object of the final values, and the view's compass and soft keys must
# look as panel-snapshot draws them with the same values fed as inputs.
# A click outside the display area changes nothing.
set -euo pipefail
program="$1"
snapshot="$2"
listener="$3"
module="$4"
data="$5"
out="$6"
mkdir -p "$out"
TIMEOUT_S=30
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

source "$(dirname "$0")/operate_flight.sh"
declare -A ports
start_listeners "$listener" generic xplane json

"$program" --renderer gl --display "$module" --scale 1 \
  --send "udp:${ports[generic]}:$data/flightgear-generic.map" \
  --send "udp:${ports[xplane]}:$data/xplane-data.map" \
  --send "udp:${ports[json]}:$data/json.map" &
pids+=($!)

# The view: the largest X window inside the program's frame.
deadline=$((SECONDS + TIMEOUT_S))
view_line=""
while [ $SECONDS -lt $deadline ]; do
  frame_id="$(xwininfo -root -children 2>/dev/null | awk '/Lorvane2.X/ { print $1; exit }')"
  if [ -n "$frame_id" ] && xwininfo -id "$frame_id" 2>/dev/null | grep -q IsViewable; then
    view_line="$(xwininfo -id "$frame_id" -children 2>/dev/null | awk '$1 ~ /^0x/ {
      split($(NF-1), g, /[x+]/); if (g[1] * g[2] > best) { best = g[1] * g[2]; line = $0 } } END { print line }')"
    [ -n "$view_line" ] && break
  fi
  sleep 0.2
done
[ -n "$view_line" ] || fail "no program window with a view"
read -r view_w view_h <<<"$(awk '{ split($(NF-1), g, /[x+]/); print g[1], g[2] }' <<<"$view_line")"
read -r view_x view_y <<<"$(awk '{ split($NF, p, /\+/); print p[2], p[3] }' <<<"$view_line")"
sleep 1

# A display point (units, y up) on the screen: the 1034 x 778 area, one
# pixel a unit, centred in the view, its origin 10 pixels in.
at() {
  awk -v x="$1" -v y="$2" -v w="$view_w" -v h="$view_h" -v vx="$view_x" -v vy="$view_y" 'BEGIN {
    ox = int((w - 1024 + 10) / 2 + 0.5); oy = int((h - 768 + 10) / 2 + 0.5)
    printf "%d %d\n", vx + ox + x, vy + h - oy - 1 - y }'
}
move() { xdotool mousemove --sync $(at "$1" "$2"); sleep 0.1; }

operate_flight
# Outside the display area, in the view's margin: nothing changes.
xdotool mousemove --sync $(( view_x + 3 )) $(( view_y + view_h - 3 )) click 1
sleep 1
import -window root "$out/program-events.png"

stop_listeners_when_quiet 3
check_sent 216

# The frame: the view against panel-snapshot fed the same values.
printf 'time,input,value\n0.000,heading_bug,216\n0.000,baro,1015\n0.000,page,1\n' >"$out/set.csv"
"$snapshot" --display "$module" --frames 1 --data "replay:$out/set.csv" -o "$out/snapshot-set.png"
"$snapshot" --display "$module" --frames 1 -o "$out/snapshot-start.png"
read -r ox oy <<<"$(at 0 767)"
convert "$out/program-events.png" -crop "1034x778+$((ox - 10))+$((oy))" +repage "$out/program-view.png"
same="$(differing_controls "$out/program-view.png" "$out/snapshot-set.png")"
other="$(differing_controls "$out/program-view.png" "$out/snapshot-start.png")"
echo "differing pixels: $same against the same values, $other against the start"
[ "$other" -gt 500 ] || fail "the view looks like the start: $other pixels differ"
[ "$same" -lt 150 ] || fail "the view differs from panel-snapshot with the same values in $same pixels"
echo "PASS"
