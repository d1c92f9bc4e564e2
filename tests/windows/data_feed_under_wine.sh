#!/usr/bin/env bash
# The Windows program fed over UDP under Wine on an X display (through
# with_xvfb.sh), in one wire format:
#   data_feed_under_wine.sh FORMAT WINE_RUN PROGRAM SNAPSHOT FLIGHT PROBE FEED DATA_DIR OUTPUT_DIR [RENDERER]
# FORMAT is generic, xplane or json, read with the flight example's mapping
# for it; FEED is the Linux panel-feed, sending to the Wine process over
# 127.0.0.1. RENDERER goes to the program's --renderer (cpu: the CPU
# backend's frames, held to the GL's of panel-snapshot). The view must show what panel-snapshot renders for the values
# fed (two sets in turn, so the needles and readouts follow them), the status
# pane must count the inputs fed as the frames go by, and a silenced source
# raises the failure flags over its last good values, as panel-snapshot shows
# them for stale inputs, whatever bad datagrams came after: those are only
# counted.
set -euo pipefail
source "$(dirname "$0")/wine_window.sh"
format="$1" wine_run="$2" program="$3" snapshot="$4" flight="$5" probe="$6" feed="$7" data="$8" out="$9"
renderer="${10:-gl}"
mkdir -p "$out"
case "$format" in
  generic) mapping="$data/flightgear-generic.map" ;;
  xplane) mapping="$data/xplane-data.map" ;;
  json) mapping="$data/json.map" ;;
  *) fail "unknown format $format" ;;
esac

# Two sets of values far apart on every fed instrument; fuel stays above
# the level where the fuel lamp blinks with the frame count.
values_a=(pitch 6 roll 20 heading 90 altitude 3400 fuel 80 fuel_flow 30)
values_b=(pitch -8 roll -25 heading 250 altitude 5200 fuel 45 fuel_flow 75)
recording() {
  local name="$1"; shift
  { echo "time,input,value"; while [ $# -gt 0 ]; do echo "0.000,$1,$2"; shift 2; done; } >"$out/$name.csv"
}
recording a "${values_a[@]}"
recording b "${values_b[@]}"

# Frame 100 of a replay: long enough for the flow trend's history to hold
# only the fed value. Looping, the values stay fresh; once, they are stale.
reference() {
  local name="$1" source="$2"
  "$wine_run" "$snapshot" --display "$flight" --frames 100 --data "$source" -o "$out/$name.png" ||
    fail "panel-snapshot did not render $name"
}
reference ref-a "replay:$out/a.csv:loop"
reference ref-b "replay:$out/b.csv:loop"
reference ref-b-stale "replay:$out/b.csv"
size="$(identify -format '%wx%h' "$out/ref-a.png")"
width="${size%x*}" height="${size#*x}"
label="$format"
source "$(dirname "$0")/wine_frames.sh"

# The pointer waits in the screen's far corner, away from where the window
# and its toolbar appear: a button under it would turn hot, and its prompt
# would hide the data status.
read -r screen_width screen_height < <(xdotool getdisplaygeometry)
park_pointer() { xdotool mousemove "$((screen_width - 1))" "$((screen_height - 1))"; }
park_pointer
"$wine_run" "$program" --renderer "$renderer" --display "$flight" --data "udp:0:$mapping" 2>"$out/program.err" &
pid=$!
source "$(dirname "$0")/feed_process.sh"
trap 'stop_feed; kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true' EXIT
window="$(find_window '^Пилотажная панель — Графическая библиотека' "$pid")"
if [ "$renderer" = cpu ]; then
  # The CPU backend starts at 8 samples, the GL under Wine has 4 at most:
  # paused (the toolbar's Pause), Прорисовка > Мультисемплинг > 4x makes
  # the view again at 4; the toolbar's Start runs it again.
  sleep 1
  xdotool mousemove --window "$window" 35 31 click 1
  sleep 1
  xdotool windowfocus "$window" 2>/dev/null || true
  xdotool key --window "$window" alt
  sleep 0.3
  xdotool key --window "$window" Right Right Down Right Down Down Return
  sleep 1
  kill -0 "$pid" 2>/dev/null || fail "the program ended after the multisampling change"
  xdotool mousemove --window "$window" 12 31 click 1
  park_pointer
fi

start_feed() {
  run_feed "$feed" --to "$port" --mapping "$mapping" --hold --rate 50 --loop "$out/$1.csv" >/dev/null
}
# The port the system gave the program's source, as its status names it
# (also once the toolbar's prompts are done, after the CPU case's clicks).
port=""
for _ in $(seq 1 50); do
  port="$(status_text | sed -n 's/.*udp 127\.0\.0\.1:\([1-9][0-9]*\) .*/\1/p')"
  [ -n "$port" ] && break
  sleep 0.2
done
[ -n "$port" ] || fail "$format: the status pane names no port: \"$(status_text)\""

start_feed a
expect_status "^0 stale, 6 of 9 inputs fed"
expect_view shot-a ref-a ref-b

start_feed b
expect_view shot-b ref-b ref-a
expect_status "^0 stale, 6 of 9 inputs fed"

# Silenced, with bad datagrams after the last good one: past the freshness
# limit of 500 ms every instrument shows its flag over the last good values,
# so a bad datagram taken as values would show. Each is counted: a malformed
# line, datagram or object once, a refused value once.
stop_feed
case "$format" in
  generic) bad=('1,2,x' 'pitch,roll' 'nan,nan,nan,nan,nan,nan') bad_status='2 bad lines, 6 values refused' ;;
  xplane)
    bad=('DATA' 'DATA*\x11\x00\x00' 'ATAD*\x11\x00\x00\x00\x00\x00\x80\x3f\x00\x00\x80\x3f\x00\x00\x80\x3f\x00\xc0\x79\xc4\x00\xc0\x79\xc4\x00\xc0\x79\xc4\x00\xc0\x79\xc4\x00\xc0\x79\xc4'
         'DATA*\x11\x00\x00\x00\x00\x00\xc0\x7f\x00\x00\xc0\x7f\x00\x00\xc0\x7f\x00\xc0\x79\xc4\x00\xc0\x79\xc4\x00\xc0\x79\xc4\x00\xc0\x79\xc4\x00\xc0\x79\xc4')
    bad_status='3 bad datagrams, 3 values refused' ;;
  json) bad=('{"pitch": NaN}' '{"pitch": ' '[1, 2, 3]' '{"roll": 1e999}') bad_status='3 bad objects, 1 value refused' ;;
esac
for datagram in "${bad[@]}"; do
  printf "$datagram" >/dev/udp/127.0.0.1/"$port"
done
expect_status "^6 stale, 6 of 9 inputs fed; .*udp .*, $bad_status$"
expect_view shot-stale ref-b-stale ref-b

close_with_alt_f4 "$window" "$pid"
trap - EXIT
echo "program under Wine, $format over UDP: follows two sets of values, counts $bad_status, flags a silenced source"
