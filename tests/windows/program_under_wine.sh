#!/usr/bin/env bash
# The Windows program itself under Wine on an X display (through
# with_xvfb.sh): program_under_wine.sh WINE_RUN PROGRAM OUTPUT_DIR
# Finds the frame by its title, then drives it as a user would: the toolbar's
# Start and Pause buttons by mouse, a multisampling level through the menu by
# keyboard, and Alt+F4. The toolbar shows the commands' state: its pixels
# change with Start and come back with Pause. The view must show the display
# on screen, first and after it is made again: its middle is the instruments,
# not one flat colour.
set -euo pipefail
source "$(dirname "$0")/wine_window.sh"
wine_run="$1" program="$2" out="$3"
mkdir -p "$out"
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
# The middle 240 x 240 pixels of the frame lie inside the view.
view_shows() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "240x240+$((X + WIDTH / 2 - 120))+$((Y + HEIGHT / 2 - 120))" "$out/$1.png"
  [ "$(identify -format '%k' "$out/$1.png")" -ge 16 ]
}
same() { [ "$(compare -metric AE "$out/$1.png" "$out/$2.png" null: 2>&1 || true)" = "0" ]; }

view_shows view-first || fail "the view shows no display (its middle is one flat colour)"
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
view_shows view-again || fail "the view made again shows no display (its middle is one flat colour)"
import -window root "$out/program-under-wine.png"

close_with_alt_f4 "$window" "$pid"
trap - EXIT
echo "program under Wine: title, the view on screen, Start, Pause, a multisampling change and Alt+F4 behave"
