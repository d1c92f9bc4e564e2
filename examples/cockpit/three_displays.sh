#!/bin/sh
# A cockpit of three displays from one script: the flight panel on the
# left monitor, the engine display (the built-in one) turned on its side
# on the middle monitor, and the flight panel mirrored for a head-up
# display's beam splitter on the right; each window without bars, its
# display fitted to it. Ctrl-C or closing any one ends all three.
#
#   examples/cockpit/three_displays.sh [--data SOURCE]
#
# Every display takes the same --data (an MQTT broker's address serves them
# all at once; a UDP port serves only one listener). Where the monitors lie
# is set by LEFT, MIDDLE and RIGHT (X11 geometry, WxH+X+Y of each view);
# PROGRAM and FLIGHT_MODULE name the program and the flight panel's module.
set -eu
here=$(dirname "$0")
PROGRAM=${PROGRAM:-$here/../../build/app/instrument-panel}
FLIGHT_MODULE=${FLIGHT_MODULE:-$here/../../build/examples/flight/flight-display.so}
LEFT=${LEFT:-1024x768+0+0}
MIDDLE=${MIDDLE:-1024x768+1024+0}
RIGHT=${RIGHT:-1024x768+2048+0}

data=""
if [ "${1:-}" = --data ] && [ -n "${2:-}" ]; then
  data="--data $2"
elif [ $# -gt 0 ]; then
  echo "usage: $0 [--data SOURCE]" >&2
  exit 2
fi
for file in "$PROGRAM" "$FLIGHT_MODULE"; do
  [ -e "$file" ] || { echo "$0: $file is missing (build first, or set PROGRAM and FLIGHT_MODULE)" >&2; exit 1; }
done

pids=""
stop() {
  for pid in $pids; do kill "$pid" 2>/dev/null || true; done
}
trap stop INT TERM EXIT

# shellcheck disable=SC2086 # $data is two words or none
"$PROGRAM" --display "$FLIGHT_MODULE" --geometry "$LEFT" --no-bars $data &
pids="$pids $!"
# shellcheck disable=SC2086
"$PROGRAM" --geometry "$MIDDLE" --no-bars --rotate 90 $data &
pids="$pids $!"
# shellcheck disable=SC2086
"$PROGRAM" --display "$FLIGHT_MODULE" --geometry "$RIGHT" --no-bars --mirror $data &
pids="$pids $!"

# The cockpit lasts while all three do.
while :; do
  for pid in $pids; do
    kill -0 "$pid" 2>/dev/null || exit 0
  done
  sleep 1
done
