#!/usr/bin/env bash
# The program closes while a display slower than its frame cycle runs (run it
# through with_xvfb.sh):
#   test_program_closes_xvfb.sh PROGRAM SLOW_MODULE CLOSE_WINDOW OUT_DIR RENDERER WAY
# SLOW_MODULE takes about 160 ms a frame and is fed by a replayed recording,
# so it runs from the start. WAY is how the user closes the window: "menu"
# (File, then Exit, clicked), "keys" (Alt+F4) or "button" (the close
# button's message, sent by CLOSE_WINDOW as a window manager sends it). The
# program must end with status 0 within five seconds.
set -euo pipefail
program="$1"
module="$2"
close_window="$3"
out="$4"
renderer="$5"
way="$6"
mkdir -p "$out"

fail() {
  echo "FAIL ($renderer, $way): $*" >&2
  exit 1
}

recording="$out/slow-needle-$renderer-$way.csv"
printf 'time,input,value\n0.000,needle,10\n1.000,needle,40\n' >"$recording"

"$program" --renderer "$renderer" --display "$module" --data "replay:$recording:loop" &
pid=$!
trap 'kill -9 "$pid" 2>/dev/null || true' EXIT

window=""
for _ in $(seq 1 100); do
  window="$(xdotool search --onlyvisible --name 'Slow dial' 2>/dev/null | head -1 || true)"
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || fail "the program ended at start-up"
  sleep 0.2
done
[ -n "$window" ] || fail "no window titled 'Slow dial'"
# Let frames pile up behind the slow drawing, as they do for a user.
sleep 1.5
kill -0 "$pid" 2>/dev/null || fail "the program ended before it was closed"

eval "$(xdotool getwindowgeometry --shell "$window")"
case "$way" in
  menu)
    # "Файл" is the menu bar's first title, at the window's top left; "Выход"
    # is its only item, just below.
    xdotool mousemove "$((X + 20))" "$((Y + 12))" click 1
    sleep 0.5
    xdotool key Down Return
    ;;
  keys)
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
    xdotool key --window "$window" alt+F4
    ;;
  button)
    "$close_window" "$window"
    ;;
  *)
    fail "unknown way '$way'"
    ;;
esac

# 25 polls of 0.2 s: the bound is generous, the point is that it ends at all.
for _ in $(seq 1 25); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
kill -0 "$pid" 2>/dev/null && {
  xdotool getwindowname "$window" >/dev/null 2>&1 && still="its window is still there" || still="its window is gone"
  fail "the program did not end within five seconds of the close ($still)"
}
trap - EXIT
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "PASS ($renderer, $way): the program ended with status 0"
