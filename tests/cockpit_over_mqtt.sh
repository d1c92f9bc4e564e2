#!/usr/bin/env bash
# A cockpit: one broker, one panel-feed publishing an instant of flight, and
# four displays subscribed at once: the program on an X display, the kiosk on
# Weston, the page in headless Chromium and panel-snapshot. Each must show
# what panel-snapshot renders for the same values replayed, within the
# goldens' tolerance; the three views side by side are kept as cockpit.png.
# Run under both servers, the X one innermost, keeping Weston's socket:
#   WESTON_DEBUG=1 WESTON_SIZE=1034x778 XVFB_KEEP_WAYLAND=1 with_weston.sh with_xvfb.sh \
#     cockpit_over_mqtt.sh PROGRAM KIOSK SNAPSHOT FEED FLIGHT FREE_PORTS CONF_TEMPLATE PAGES NODE_DIR OUTPUT_DIR
set -euo pipefail
program="$1" kiosk="$2" snapshot="$3" feed="$4" flight="$5" free_ports="$6" template="$7" pages="$8" node_dir="$9"
out="${10}"
mkdir -p "$out"
TIMEOUT_S=60
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
source "$(dirname "$0")/x_view.sh"

{ echo "time,input,value"; for pair in "pitch 6" "roll 20" "heading 90" "altitude 3400" "fuel 80" "fuel_flow 30"; do
    set -- $pair; echo "0.000,$1,$2"; done; } >"$out/instant.csv"
# Each host's reference: its own backend and multisampling, the same values.
reference() {
  local name="$1"
  shift
  "$snapshot" --display "$flight" --frames 100 --data "replay:$out/instant.csv:loop" "$@" -o "$out/$name.png" \
    >/dev/null || fail "panel-snapshot did not render $name"
}
reference ref-program
reference ref-kiosk --samples 0
reference ref-page --gl es3 --samples 0
size="$(identify -format '%wx%h' "$out/ref-program.png")"
width="${size%x*}" height="${size#*x}"

source "$(dirname "$0")/test_broker.sh"
broker_config "$free_ports" "$template"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; stop_broker; wait 2>/dev/null || true' EXIT
start_broker
"$feed" --to "mqtt://127.0.0.1:$port/cockpit" --loop --seconds 600 "$out/instant.csv" >"$out/panel-feed.log" 2>&1 &
pids+=($!)

# The four at once.
url="mqtt://127.0.0.1:$port/cockpit"
env -u WAYLAND_DISPLAY "$program" --renderer gl --display "$flight" --data "$url" 2>"$out/program.err" &
pids+=($!)
"$kiosk" --display "$flight" --samples 0 --data "$url" >"$out/kiosk.log" 2>&1 &
pids+=($!)
node "$node_dir/page_frames.mjs" "$pages" "flight-display/?samples=0&data=mqtt://127.0.0.1:$ws_port/cockpit" \
  "$out/page.png" "$TIMEOUT_S" 2>"$out/page.err" &
pids+=($!)
"$snapshot" --display "$flight" --frames 100 --data "$url" -o "$out/snapshot.png" >"$out/snapshot.log" 2>&1 ||
  fail "panel-snapshot over MQTT failed: $(cat "$out/snapshot.log")"

# Each view until it agrees with its reference (or the time is up).
limit=$((width * height / 1000))
agree() {
  [ -s "$out/$1.png" ] && [ "$(differing_pixels "$out/$1.png" "$out/$2.png")" -le "$limit" ]
}
kiosk_shot() {
  rm -rf "$out/kiosk-capture" && mkdir -p "$out/kiosk-capture"
  (cd "$out/kiosk-capture" && weston-screenshooter >/dev/null 2>&1) || return 1
  mv "$out/kiosk-capture"/*.png "$out/kiosk.png" 2>/dev/null
}
program_ok="" kiosk_ok="" page_ok=""
deadline=$((SECONDS + TIMEOUT_S))
while [ $SECONDS -lt $deadline ] && [ -z "$program_ok" -o -z "$kiosk_ok" -o -z "$page_ok" ]; do
  [ -n "$program_ok" ] || { capture_view program "$width" "$height" "$out" && agree program ref-program && program_ok=1; } || true
  [ -n "$kiosk_ok" ] || { kiosk_shot && agree kiosk ref-kiosk && kiosk_ok=1; } || true
  [ -n "$page_ok" ] || { agree page ref-page && page_ok=1; } || true
  sleep 0.5
done
[ "$(differing_pixels "$out/snapshot.png" "$out/ref-program.png")" -le "$limit" ] ||
  fail "panel-snapshot over MQTT differs from its replay"
[ -n "$program_ok" ] || fail "the program's view differs from its reference (see $out/program.png, $out/program.err)"
[ -n "$kiosk_ok" ] || fail "the kiosk's output differs from its reference (see $out/kiosk.png, $out/kiosk.log)"
[ -n "$page_ok" ] || fail "the page's frame differs from its reference (see $out/page.png, $out/page.err)"

label() {
  convert "$out/$1.png" -gravity south -background white -splice 0x28 -pointsize 20 \
    -annotate +0+2 "$2" "$out/$1-labelled.png"
}
label program "instrument-panel (Xvfb)"
label kiosk "instrument-panel-kiosk (Weston)"
label page "the page (Chromium)"
convert "$out/program-labelled.png" "$out/kiosk-labelled.png" "$out/page-labelled.png" +append "$out/cockpit.png"
echo "cockpit over MQTT: the program, the kiosk, the page and panel-snapshot show the same instant"
