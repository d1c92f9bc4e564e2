#!/usr/bin/env bash
# The Windows program subscribed to a broker under Wine on an X display
# (through with_xvfb.sh):
#   program_over_mqtt_under_wine.sh WINE_RUN PROGRAM SNAPSHOT FLIGHT PROBE FEED FREE_PORTS CONF_TEMPLATE OUTPUT_DIR
# FEED is the Linux panel-feed, publishing to mosquitto (on ports the system
# chose, configuration from CONF_TEMPLATE) on 127.0.0.1. The program starts
# before its broker and says it is connecting; once the broker and the feed
# run, the view must show what panel-snapshot renders for the values
# published (two sets in turn), and the status pane count them. The broker
# stopped, every instrument raises its flag over the last values and the
# status says the broker is lost; started again, the view follows again
# within 2 s of the broker's accepting connections.
# The program's --send to the same broker publishes the heading bug it is
# told to move with the Right key.
set -euo pipefail
source "$(dirname "$0")/wine_window.sh"
wine_run="$1" program="$2" snapshot="$3" flight="$4" probe="$5" feed="$6" free_ports="$7" template="$8" out="$9"
label="MQTT"
mkdir -p "$out"

source "$(dirname "$0")/mqtt_feed.sh"
two_value_sets
reference ref-b-stale "replay:$out/b.csv"

source "$(dirname "$0")/../test_broker.sh"
broker_config "$free_ports" "$template"
url="mqtt://127.0.0.1:$port/cockpit"
subscriber_pid=""

read -r screen_width screen_height < <(xdotool getdisplaygeometry)
xdotool mousemove "$((screen_width - 1))" "$((screen_height - 1))"
"$wine_run" "$program" --renderer gl --display "$flight" --data "$url" --send "$url" 2>"$out/program.err" &
pid=$!
trap 'stop_feed; kill "$pid" $subscriber_pid 2>/dev/null || true; stop_broker; wait 2>/dev/null || true' EXIT
window="$(find_window '^Пилотажная панель — Графическая библиотека' "$pid")"

# No broker yet: the program runs and says so.
expect_status "^0 stale, 0 of 9 inputs fed; mqtt://127\.0\.0\.1:$port/cockpit \(connecting\)"

start_broker
start_feed a "$url"
expect_status "^0 stale, 6 of 9 inputs fed; mqtt://127\.0\.0\.1:$port/cockpit: [0-9]+ messages/s"
expect_view shot-a ref-a ref-b
start_feed b "$url"
expect_view shot-b ref-b ref-a

# Past the freshness limit of 500 ms without its broker every instrument
# shows its flag over the last values: the last arrived before the broker
# stopped, so the flags show within the limit and a frame of its end. The
# status shows them once a frame has found the limit passed: up to one
# view timer period (40 ms) and two frames' drawing (the one under way when
# the limit passed, and the one that finds it) after it, frames as long as
# the longest between two of the probe's readings meanwhile.
watch_status stale '^6 stale' 20
stop_broker
status_matched stale
flags_limit=$(LC_ALL=C awk -v frame="$longest_frame" 'BEGIN { printf "%.3f", 0.5 + 0.04 + 2 * frame }')
within "$flags_limit" "$broker_stopped_at" "$matched_at" "the flags raised after the broker stopped"
expect_status "^6 stale, 6 of 9 inputs fed; mqtt://127\.0\.0\.1:$port/cockpit \(broker lost, reconnecting\)"
expect_view shot-stale ref-b-stale ref-b

# Restarted, every display recovers within 2 s: from the broker's first
# accepted connection to the status pane with every input fresh again.
watch_status back '^0 stale' 20
start_broker
status_matched back
within 2 "$broker_ready_at" "$matched_at" "fresh values shown after the broker restarted"
expect_status "^0 stale, 6 of 9 inputs fed; mqtt://127\.0\.0\.1:$port/cockpit: [0-9]+ messages/s"
expect_view shot-back ref-b ref-b-stale

# An output: the Right key moves the heading bug (70 at the start) one
# degree; the program publishes it on PREFIX/out/heading_bug.
mosquitto_sub -h 127.0.0.1 -p "$port" -t 'cockpit/out/#' -v -C 1 -W 20 >"$out/outputs.txt" 2>&1 &
subscriber_pid=$!
sleep 1
xdotool windowfocus "$window" 2>/dev/null || true
xdotool key --window "$window" Right
wait "$subscriber_pid" || fail "no output reached the broker's subscriber: $(cat "$out/outputs.txt")"
subscriber_pid=""
grep -qx 'cockpit/out/heading_bug 71' "$out/outputs.txt" ||
  fail "the subscriber received \"$(cat "$out/outputs.txt")\", not the heading bug at 71"

close_with_alt_f4 "$window" "$pid"
trap - EXIT
stop_feed
stop_broker
echo "program under Wine over MQTT: waits for its broker, follows two sets of values, flags a lost broker, recovers, publishes its outputs"
