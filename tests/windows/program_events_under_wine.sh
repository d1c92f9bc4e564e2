#!/usr/bin/env bash
# The flight example operated in the Windows program under Wine on an X
# display (through with_xvfb.sh):
#   program_events_under_wine.sh WINE_RUN PROGRAM SNAPSHOT PROBE LISTENER MODULE DATA_DIR OUT_DIR
# As the Linux program's test does: xdotool turns the wheel on the compass
# rose, drags the heading bug, clicks the barometric strip and a soft key,
# and presses the Right arrow key; three test listeners on 127.0.0.1 (the
# Linux udp_listener, one per format of the program's --send) must receive
# the FlightGear generic line, the X-Plane DREF datagrams and the JSON
# object of the final values, and the view's compass, strip and soft keys
# must look as the Windows panel-snapshot draws them with the same values
# fed as inputs. A click outside the display area changes nothing.
set -euo pipefail
source "$(dirname "$0")/wine_window.sh"
wine_run="$1" program="$2" snapshot="$3" probe="$4" listener="$5" module="$6" data="$7" out="$8"
mkdir -p "$out"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
}
trap cleanup EXIT

source "$(dirname "$0")/../operate_flight.sh"
declare -A ports
start_listeners "$listener" generic xplane json

# The pointer waits in the screen's far corner, away from the toolbar.
read -r screen_width screen_height < <(xdotool getdisplaygeometry)
xdotool mousemove "$((screen_width - 1))" "$((screen_height - 1))"
"$wine_run" "$program" --renderer gl --display "$module" --scale 1 \
  --send "udp:${ports[generic]}:$data/flightgear-generic.map" \
  --send "udp:${ports[xplane]}:$data/xplane-data.map" \
  --send "udp:${ports[json]}:$data/json.map" 2>"$out/program.err" &
program_pid=$!
pids+=("$program_pid")
window="$(find_window '^Пилотажная панель — Графическая библиотека' "$program_pid")"
sleep 1
# The view's client area in screen pixels, as the program lays it out.
read -r view_x view_y view_w view_h < <("$wine_run" "$probe" | sed -n 's/^view: //p' | tr -d '\r')
[ -n "$view_h" ] || fail "the frame shows no view"

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
xdotool mousemove --sync $((view_x + 3)) $((view_y + view_h - 3)) click 1
sleep 1
import -window root "$out/program-events.png"

stop_listeners_when_quiet 3
check_sent 216

# The frame: the view against panel-snapshot fed the same values.
printf 'time,input,value\n0.000,heading_bug,216\n0.000,baro,1015\n0.000,page,1\n' >"$out/set.csv"
"$wine_run" "$snapshot" --display "$module" --frames 1 --data "replay:$out/set.csv" -o "$out/snapshot-set.png" ||
  fail "panel-snapshot did not render the values set"
"$wine_run" "$snapshot" --display "$module" --frames 1 -o "$out/snapshot-start.png" ||
  fail "panel-snapshot did not render the start"
read -r ox oy <<<"$(at 0 767)"
convert "$out/program-events.png" -crop "1034x778+$((ox - 10))+$((oy))" +repage "$out/program-view.png"
same="$(differing_controls "$out/program-view.png" "$out/snapshot-set.png")"
other="$(differing_controls "$out/program-view.png" "$out/snapshot-start.png")"
echo "differing pixels: $same against the same values, $other against the start"
[ "$other" -gt 500 ] || fail "the view looks like the start: $other pixels differ"
[ "$same" -lt 150 ] || fail "the view differs from panel-snapshot with the same values in $same pixels"

close_with_alt_f4 "$window" "$program_pid"
pids=()
trap - EXIT
echo "program under Wine: the wheel, a drag, clicks and a key set the bug, the setting and the page; the three formats carry them"
