#!/usr/bin/env bash
# The program subscribed to a broker, on an X display (through with_xvfb.sh):
#   program_over_mqtt.sh PROGRAM SNAPSHOT FEED FLIGHT FREE_PORTS CONF_TEMPLATE OUTPUT_DIR
# The program starts before its broker and waits; once mosquitto (on ports
# the system chose, configuration from CONF_TEMPLATE) and a panel-feed
# publishing an instant of flight run, the view must show what
# panel-snapshot renders for those values replayed. The broker stopped,
# every instrument raises its flag over the last values; started again, the
# view recovers. (A screenshot and its comparison take seconds on a loaded
# machine: the 2 s recovery bound is held by test_mqtt at the feed; here the
# time is only reported.)
set -euo pipefail
program="$1" snapshot="$2" feed="$3" flight="$4" free_ports="$5" template="$6" out="$7"
mkdir -p "$out"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

{ echo "time,input,value"; for pair in "pitch 6" "roll 20" "heading 90" "altitude 3400" "fuel 80" "fuel_flow 30"; do
    set -- $pair; echo "0.000,$1,$2"; done; } >"$out/a.csv"
reference() {
  "$snapshot" --display "$flight" --frames 100 --data "$2" -o "$out/$1.png" >/dev/null ||
    fail "panel-snapshot did not render $1"
}
reference ref "replay:$out/a.csv:loop"
reference ref-stale "replay:$out/a.csv"
size="$(identify -format '%wx%h' "$out/ref.png")"
width="${size%x*}" height="${size#*x}"

source "$(dirname "$0")/test_broker.sh"
broker_config "$free_ports" "$template"
url="mqtt://127.0.0.1:$port/cockpit"
feed_pid=""

"$program" --renderer gl --display "$flight" --data "$url" 2>"$out/program.err" &
pid=$!
trap 'kill "$pid" "$feed_pid" 2>/dev/null || true; stop_broker; wait 2>/dev/null || true' EXIT

source "$(dirname "$0")/x_view.sh"
capture() { capture_view "$1" "$width" "$height" "$out"; }
differing() { differing_pixels "$out/$1.png" "$out/$2.png"; }
# Waits up to LIMIT seconds for the view to agree with a reference within
# the goldens' tolerance; prints the seconds it took.
expect_view() {
  local shot="$1" like="$2" limit="$3" started=$SECONDS same=""
  while [ $((SECONDS - started)) -le "$limit" ]; do
    kill -0 "$pid" 2>/dev/null || fail "the program ended"
    if capture "$shot"; then
      same="$(differing "$shot" "$like")"
      [ "$same" -le $((width * height / 1000)) ] && return 0
    fi
    sleep 0.2
  done
  fail "$shot differs from $like in ${same:-all} pixels after $limit s"
}

# No broker yet: the program runs and waits.
sleep 2
kill -0 "$pid" 2>/dev/null || fail "the program ended without its broker: $(cat "$out/program.err")"
start_broker
"$feed" --to "$url" --loop --seconds 600 "$out/a.csv" >"$out/panel-feed.log" 2>&1 &
feed_pid=$!
expect_view shot ref 30

stop_broker
expect_view shot-stale ref-stale 10

start_broker
back_ns=$(date +%s%N)
expect_view shot-back ref 10
took_ms=$((($(date +%s%N) - back_ns) / 1000000))
echo "program over MQTT: waits for its broker, shows the values, flags a lost broker, recovers (seen after $took_ms ms)"
