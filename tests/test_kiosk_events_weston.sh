#!/usr/bin/env bash
# The flight example operated in the kiosk, turned and mirrored, under a
# Weston of its own (run it through with_xvfb.sh, then with_weston.sh with
# WESTON_ON_X=1 and WESTON_SIZE=778x1034):
#   test_kiosk_events_weston.sh KIOSK SNAPSHOT LISTENER MODULE DATA_DIR OUT_DIR
# Headless Weston has no input devices and Weston 10 ships no module that
# injects input, so Weston runs as a window on Xvfb and xdotool's pointer,
# wheel and key reach the kiosk through Weston's seat: the same road as a
# device's. Touch has no such road (the X backend has no touch device); the
# touch ids are tested without a compositor. Before any input the kiosk
# sends nothing; then the wheel on the compass rose, a drag of the heading
# bug, clicks on the barometric strip and a soft key, the Right key and the
# Left key held (repeating) must reach two test listeners on 127.0.0.1 (the FlightGear generic line and
# the JSON object of the final values), a click in the margin changes
# nothing, and the frame shows what panel-snapshot draws with those values.
set -euo pipefail
kiosk="$1"
snapshot="$2"
listener="$3"
module="$4"
data="$5"
out="$6"
mkdir -p "$out"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -f "$out/kiosk.log" ] && cat "$out/kiosk.log" >&2
  exit 1
}

source "$(dirname "$0")/operate_flight.sh"
declare -A ports
start_listeners "$listener" generic json

# Turned a quarter clockwise and mirrored, one pixel a unit: the output is
# exactly the turned area (778 x 1034), so nothing is letterboxed.
"$kiosk" --renderer cpu --display "$module" --frames 1 --scale 1 --rotate 90 --mirror \
  --send "udp:${ports[generic]}:$data/flightgear-generic.map" \
  --send "udp:${ports[json]}:$data/json.map" >"$out/kiosk.log" 2>&1 &
kiosk_pid=$!
pids+=($kiosk_pid)
for _ in $(seq 150); do grep -q "holding frame 1" "$out/kiosk.log" && break; sleep 0.1; done
grep -q "holding frame 1" "$out/kiosk.log" || fail "the kiosk showed no frame"
window="$(awk '/x11 output .* window id/ { print $NF; exit }' "$WESTON_LOG")"
[ -n "$window" ] || fail "no Weston window in its log"
# The start as panel-snapshot draws it, turned and mirrored as the kiosk
# shows it; the input waits until the kiosk's output shows it, so that a
# slow start (a sanitized build) cannot put the pointer on a surface that
# is not yet placed.
"$snapshot" --display "$module" --frames 1 --gl cpu -o "$out/snapshot-start.png" >/dev/null
convert "$out/snapshot-start.png" -rotate 90 -flop "$out/turned-start.png"
# Compared at a quarter of the size, each pixel the mean of 4 x 4: the
# edges a turned drawing smooths otherwise than a turned picture of it
# average out; a moved needle or a lit key does not.
differing() {
  convert "$1" -scale 25% "$out/a.png"
  convert "$2" -scale 25% "$out/b.png"
  n="$(compare -metric AE -fuzz 10% "$out/a.png" "$out/b.png" null: 2>&1 || true)"
  echo "${n%%.*}"
}
placed=""
for _ in $(seq 60); do
  import -window "$window" "$out/kiosk-start.png" 2>/dev/null &&
    [ "$(differing "$out/kiosk-start.png" "$out/turned-start.png")" -lt 20 ] && placed=1 && break
  sleep 0.5
done
[ -n "$placed" ] || fail "the kiosk's output never showed the start frame"
for format in generic json; do
  [ ! -s "$out/received-$format.txt" ] || fail "the kiosk sent before any input: $(cat "$out/received-$format.txt")"
done

# A display point (units, y up) on Weston's window: turned clockwise and
# mirrored, the display's x runs down the window and its y right to left;
# its origin lies 10 pixels in from the window's right and top edges.
at() { echo "$((778 - 10 - $2)) $((10 + $1))"; }
move() { xdotool mousemove --window "$window" --sync $(at "$1" "$2"); sleep 0.1; }

# The X pointer starts in the screen's middle, inside Weston's window: if
# it was there before Weston watched the window, Weston never saw it enter
# and gives the kiosk no pointer. Out and back in, the pointer enters.
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
xdotool mousemove --sync $((screen_w - 1)) $((screen_h - 1))
sleep 0.2
operate_flight
# Held, a key repeats as the compositor says (Weston: after 400 ms, 40 a
# second, at most one a frame): Left held for a second and a half turns
# the bug back by more than one.
xdotool keydown Left
sleep 1.5
xdotool keyup Left
# In the margin, outside the display area: nothing changes.
xdotool mousemove --window "$window" --sync 773 5 click 1
sleep 1
import -window "$window" "$out/kiosk-events.png"

stop_listeners_when_quiet 2
kill -0 "$kiosk_pid" 2>/dev/null || fail "the kiosk ended"
bug="$(tail -1 "$out/received-generic.txt" | cut -d, -f1)"
check_sent "$bug"
# 216, less the press and its repeats; the repeats stop at the release.
[ "$bug" -le 214 ] && [ "$bug" -ge 150 ] || fail "the held Left key left the bug at $bug, not 150 to 214"

# The frame against panel-snapshot's, turned and mirrored as the kiosk
# shows it, fed the same values and the start's.
printf 'time,input,value\n0.000,heading_bug,%s\n0.000,baro,1015\n0.000,page,1\n' "$bug" >"$out/set.csv"
"$snapshot" --display "$module" --frames 1 --gl cpu --data "replay:$out/set.csv" -o "$out/snapshot-set.png" >/dev/null
convert "$out/snapshot-set.png" -rotate 90 -flop "$out/turned-set.png"
same="$(differing "$out/kiosk-events.png" "$out/turned-set.png")"
other="$(differing "$out/kiosk-events.png" "$out/turned-start.png")"
echo "differing pixels at a quarter size: $same against the same values, $other against the start"
[ "$other" -gt 200 ] || fail "the frame looks like the start: $other pixels differ"
[ "$same" -lt 20 ] || fail "the frame differs from panel-snapshot with the same values in $same pixels"
echo "PASS"
