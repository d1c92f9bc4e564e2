#!/usr/bin/env bash
# The Windows program under Wine closes while a display slower than its
# frame cycle runs (on an X display, through with_xvfb.sh):
#   program_closes_under_wine.sh WINE_RUN PROGRAM SLOW_MODULE CLOSE_WINDOW OUT_DIR RENDERER WAY
# SLOW_MODULE takes about 160 ms a frame (about 6 frames a second) and is
# fed by a replayed recording, so it runs from the start. WAY is how the
# user closes the window: "menu" (Файл clicked, then Выход by key), "keys"
# (Alt+F4) or "button" (the close button's message, sent by CLOSE_WINDOW as
# a window manager sends it). The window must be gone within a second, and
# the program ended with status 0 soon after.
# A window manager (openbox) runs as on a user's desktop: without one, Wine
# waits two seconds for one to withdraw every window it closes.
set -euo pipefail
source "$(dirname "$0")/wine_window.sh"
wine_run="$1" program="$2" module="$3" close_window="$4" out="$5" renderer="$6" way="$7"
mkdir -p "$out"

recording="$out/slow-needle-$renderer-$way.csv"
printf 'time,input,value\n0.000,needle,10\n1.000,needle,40\n' >"$recording"

openbox --sm-disable >"$out/openbox-$renderer-$way.log" 2>&1 &
wm_pid=$!
for _ in $(seq 1 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  kill -0 "$wm_pid" 2>/dev/null || fail "openbox did not start: $(cat "$out/openbox-$renderer-$way.log")"
  sleep 0.1
done

"$wine_run" "$program" --renderer "$renderer" --display "$module" --data "replay:$recording:loop" \
  2>"$out/program-$renderer-$way.err" &
pid=$!
trap 'kill -9 "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; kill "$wm_pid" 2>/dev/null || true' EXIT

window="$(find_window '^Slow dial' "$pid")"
# Let frames pile up behind the slow drawing, as they do for a user.
sleep 1.5
kill -0 "$pid" 2>/dev/null || fail "$renderer, $way: the program ended before it was closed"
# Wine may have made the frame's X window again as the window manager took
# it: the window is looked up anew.
window="$(find_window '^Slow dial' "$pid")"

case "$way" in
  menu)
    # "Файл" is the menu bar's first title at the window's top left;
    # "Выход" its only item, just below.
    xdotool mousemove --window "$window" 20 10 click 1
    sleep 0.5
    xdotool key Down Return
    ;;
  keys)
    # Pressed on the active window, as a user does.
    xdotool windowactivate --sync "$window"
    xdotool key alt+F4
    ;;
  button)
    "$close_window" "$window"
    ;;
  *)
    fail "unknown way '$way'"
    ;;
esac

# Within a second (ten polls of 0.1 s) the window is gone; the process,
# which Wine takes a moment more to tear down on a loaded machine, within
# five.
polls=0
while xdotool search --onlyvisible --name '^Slow dial' >/dev/null 2>&1 && [ "$polls" -lt 10 ]; do
  sleep 0.1
  polls=$((polls + 1))
done
xdotool search --onlyvisible --name '^Slow dial' >/dev/null 2>&1 &&
  fail "$renderer, $way: the window is still there a second after the close"
for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "$renderer, $way: the program still runs five seconds after the close"
trap 'kill "$wm_pid" 2>/dev/null || true' EXIT
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "$renderer, $way: the program ended with status $status: $(cat "$out/program-$renderer-$way.err")"
echo "PASS ($renderer, $way): the window went within $((polls + 1))00 ms of the close, the program ended with status 0"
