#!/usr/bin/env bash
# The Windows program itself under Wine on an X display (through
# with_xvfb.sh): program_under_wine.sh WINE_RUN PROGRAM OUTPUT_DIR
# Finds the frame by its title, then drives it as a user would: the toolbar's
# Start and Pause buttons by mouse, a multisampling level through the menu by
# keyboard, and Alt+F4. The toolbar shows the commands' state: its pixels
# change with Start and come back with Pause. The view must show the display
# on screen, first and after it is made again: the instruments, not one flat
# colour. The frame is as large as the display with its margin.
set -euo pipefail
source "$(dirname "$0")/wine_window.sh"
wine_run="$1" program="$2" out="$3"
mkdir -p "$out"
# The command line is read before any window: --help is the usage and 0,
# an option it does not take the usage and 2.
expect_status() {
  local want="$1" says="$2"; shift 2
  local output status=0
  output="$(timeout 60 "$wine_run" "$program" "$@" 2>&1)" || status=$?
  [ "$status" -eq "$want" ] || fail "instrument-panel.exe $*: exit status $status, not $want: $output"
  grep -qF -- "$says" <<<"$output" || fail "instrument-panel.exe $*: does not say \"$says\": $output"
}
expect_status 0 "usage: instrument-panel" --help
expect_status 2 "unknown option: --dispaly" --dispaly x.dll
expect_status 2 "unknown option: --samples" --samples 3
expect_status 2 "--renderer takes auto, gl or cpu, not 'vulkan'" --renderer vulkan
expect_status 2 '--renderer needs auto, gl or cpu' --renderer

TITLE='^Графическая библиотека для файлов кодогенерации, полученных с помощью модуля Lorvane2.X$'

"$wine_run" "$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true' EXIT

window="$(find_window "$TITLE" "$pid")"
sleep 1

# The toolbar strip of the frame: the first 60 x 24 pixels below the menu bar.
toolbar() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "60x24+$((X))+$((Y + 20))" "$out/$1.png"
}
# The frame below its toolbar and above its status bar is the view; the
# display's instruments move over the animation, so the whole view is
# looked at.
view_shows() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "$((WIDTH - 8))x$((HEIGHT - 80))+$((X + 4))+$((Y + 50))" "$out/$1.png"
  [ "$(identify -format '%k' "$out/$1.png")" -ge 16 ]
}
same() { [ "$(compare -metric AE "$out/$1.png" "$out/$2.png" null: 2>&1 || true)" = "0" ]; }

view_shows view-first || fail "the view shows no display (one flat colour)"
# The built-in display is 768 x 1024 units with a 10-pixel margin: the frame
# is at least that large, so nothing of it is cut off.
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" -ge 778 ] && [ "$HEIGHT" -ge 1034 ] || fail "the frame of ${WIDTH}x${HEIGHT} cannot show the whole display"
toolbar paused
xdotool mousemove --window "$window" 12 31 click 1
sleep 1
toolbar running
same paused running && fail "Start did not change the toolbar's buttons"
xdotool mousemove --window "$window" 35 31 click 1
sleep 1
toolbar paused-again
same paused paused-again || fail "Pause did not give the toolbar its paused state back"

# Прорисовка > Мультисемплинг > Отключен: the view is made again.
xdotool windowfocus "$window" 2>/dev/null || true
xdotool key --window "$window" alt
sleep 0.3
xdotool key --window "$window" Right Right Down Right Return
sleep 2
kill -0 "$pid" 2>/dev/null || fail "the program ended after a multisampling change"
xdotool mousemove --window "$window" 12 31 click 1
sleep 1
toolbar running-again
same running running-again || fail "Start does not work after the multisampling change"
view_shows view-again || fail "the view made again shows no display (one flat colour)"
import -window root "$out/program-under-wine.png"

close_with_alt_f4 "$window" "$pid"
trap - EXIT
echo "program under Wine: title, the view on screen, Start, Pause, a multisampling change and Alt+F4 behave"
