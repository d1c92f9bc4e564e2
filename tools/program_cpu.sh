#!/usr/bin/env bash
# The window program's CPU use while its animation runs, as top reports it.
#   tools/program_cpu.sh [--nothing-drawn] PROGRAM [PROGRAM OPTIONS...]
# Runs the program on a private Xvfb (tests/with_xvfb.sh), presses its Start
# toolbar button, checks that the display moves, then prints top's %CPU of
# the whole process (all its threads, the CPU backend's drawing threads with
# --renderer cpu) for four 5-second intervals, at the level the program
# starts with (8x with --renderer cpu).
# --nothing-drawn preloads the build's libpanel-draw-nothing.so (next to the
# program's build folder), which drops every GL draw: the frame's floor in the
# window. Nothing moves then, so that check is skipped. It cannot drop the
# CPU backend's draws, so it refuses --renderer cpu.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if [ -z "${PROGRAM_CPU_ON_XVFB:-}" ]; then
  PROGRAM_CPU_ON_XVFB=1 exec "$here/../tests/with_xvfb.sh" "$0" "$@"
fi
nothing_drawn=""
if [ "${1:-}" = "--nothing-drawn" ]; then
  shift
  nothing_drawn="$(cd "$(dirname "$1")/.." && pwd)/tools/libpanel-draw-nothing.so"
  previous=""
  for arg in "$@"; do
    if [ "$arg" = "--renderer=cpu" ] || { [ "$previous" = "--renderer" ] && [ "$arg" = cpu ]; }; then
      echo "program_cpu.sh: --nothing-drawn drops GL draws only, not those of --renderer cpu" >&2
      exit 2
    fi
    previous="$arg"
  done
  [ -f "$nothing_drawn" ] || { echo "program_cpu.sh: $nothing_drawn is not built" >&2; exit 1; }
fi
shots="$(mktemp -d)"
if [ -n "$nothing_drawn" ]; then
  LD_PRELOAD="$nothing_drawn" "$@" &
else
  "$@" &
fi
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$shots"' EXIT
window=""
for _ in $(seq 60); do
  window="$(xdotool search --name 'Lorvane' 2>/dev/null | head -1 || true)"
  [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || { echo "program_cpu.sh: the program's window did not appear" >&2; exit 1; }
sleep 2
eval "$(xdotool getwindowgeometry --shell "$window")"
# The toolbar's first button (Start) sits below the menu bar at the left.
xdotool mousemove $((X + 14)) $((Y + 40)) click 1
sleep 2
import -window root "$shots/a.png"
sleep 1
import -window root "$shots/b.png"
changed="$(compare -metric AE "$shots/a.png" "$shots/b.png" null: 2>&1 || true)"
[ -n "$nothing_drawn" ] || [ "${changed%% *}" != "0" ] ||
  { echo "program_cpu.sh: the display does not move; Start was not pressed" >&2; exit 1; }
echo "%CPU over 5-second intervals (the first since start-up):"
top -b -d 5 -n 5 -p "$pid" | awk -v pid="$pid" '$1 == pid { printf "%s ", $9 } END { print "" }'
