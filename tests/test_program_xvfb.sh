#!/usr/bin/env bash
# The program itself on an X display (run it through with_xvfb.sh):
#   test_program_xvfb.sh PROGRAM OUTPUT_DIR full    the screen has room: the
#       view is 778 x 1034 and shows the display area with its margin
#   test_program_xvfb.sh PROGRAM OUTPUT_DIR small   a smaller screen: the
#       window fits on it and the display area is scaled to fit the view,
#       aspect kept and centred
#   test_program_xvfb.sh PROGRAM OUTPUT_DIR placed   --geometry 700x500+30+40
#       --no-bars --rotate 90: a view of 700 x 500 at that place with no bars
#       around it, the display turned clockwise and fitted
#   test_program_xvfb.sh PROGRAM OUTPUT_DIR module MODULE   the example
#       flight panel loaded with --display: the view is 1034 x 778 and shows
#       its background and the sky of its attitude indicator
# Finds the view as the X window of the program's frame that is neither the
# frame nor a 1 x 1 helper, takes a screenshot of the root window and checks
# colours at pixels of the view.
set -euo pipefail
program="$1"
out="$2"
mode="$3"
program_args=()
[ "$mode" = module ] && program_args=(--display "$4")
[ "$mode" = placed ] && program_args=(--geometry 700x500+30+40 --no-bars --rotate 90)
mkdir -p "$out"

BACKGROUND="121 121 140"  # the display area's background
CLEAR="21 21 21"          # the clear colour 0.082 around it
FLIGHT_BACKGROUND="24 28 36"  # the flight panel's background
FLIGHT_SKY="46 120 206"       # and its attitude indicator's sky
TIMEOUT_S=30

"$program" "${program_args[@]}" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The frame's line in the window tree, and the largest X window inside it:
# the view, since GTK gives only GL windows an X window of their own. Lines
# read "ID NAME: (CLASS)  WxH+X+Y  +ROOTX+ROOTY". The frame exists (unmapped,
# at a default size) before it is shown, so all is read again until it holds.
find_windows() {
  frame_line="$(xwininfo -root -children 2>/dev/null | grep -m1 'Lorvane2.X' || true)"
  view_line=""
  [ -n "$frame_line" ] || return 1
  local frame_id
  frame_id="$(awk '{ print $1 }' <<<"$frame_line")"
  xwininfo -id "$frame_id" 2>/dev/null | grep -q 'IsViewable' || return 1
  view_line="$(xwininfo -id "$frame_id" -children 2>/dev/null | awk '$1 ~ /^0x/ {
    split($(NF-1), g, /[x+]/); if (g[1] * g[2] > best) { best = g[1] * g[2]; line = $0 } }
    END { print line }')"
  [ -n "$view_line" ]
}

size_of() { awk '{ split($(NF-1), g, /[x+]/); print g[1], g[2] }' <<<"$1"; }

shot="$out/program-$mode.png"
# The colour at view pixel (x, y) counted from the view's top left corner.
pixel() {
  stream -map rgb -storage-type char -extract "1x1+$((view_x + $1))+$((view_y + $2))" "$shot" - |
    od -An -tu1 | xargs
}
near() {  # near "r g b" "r g b": each channel within 1
  local a=($1) b=($2)
  for i in 0 1 2; do
    local d=$((a[i] - b[i]))
    [ "${d#-}" -le 1 ] || return 1
  done
}

# A point (x, y) of the 778 x 1034 view at full size, in the fitted view:
# the area scaled by the tighter side and centred.
scaled() {
  awk -v x="$1" -v y="$2" -v w="$view_w" -v h="$view_h" 'BEGIN {
    s = w / 778 < h / 1034 ? w / 778 : h / 1034
    printf "%d %d\n", (w - 778 * s) / 2 + (x + 0.5) * s, (h - 1034 * s) / 2 + (y + 0.5) * s }'
}
# The same for the area turned clockwise (1034 x 778): (x, y) goes to
# (1034 - y, x) before scaling.
scaled_turned() {
  awk -v x="$1" -v y="$2" -v w="$view_w" -v h="$view_h" 'BEGIN {
    s = w / 1034 < h / 778 ? w / 1034 : h / 778
    printf "%d %d\n", (w - 1034 * s) / 2 + (1034 - y - 0.5) * s, (h - 778 * s) / 2 + (x + 0.5) * s }'
}

# What the window and the view must be, and their colours at view pixels;
# the margin is the left 10 columns and the bottom 10 rows of the view.
check_once() {
  find_windows || { problem="no program window with a view on screen"; return 1; }
  read -r frame_w frame_h <<<"$(size_of "$frame_line")"
  read -r view_w view_h <<<"$(size_of "$view_line")"
  read -r view_x view_y <<<"$(awk '{ split($NF, p, /\+/); print p[2], p[3] }' <<<"$view_line")"
  read -r screen_w screen_h <<<"$(xwininfo -root | awk '/^  Width:/ { w = $2 } /^  Height:/ { h = $2 } END { print w, h }')"
  problem="frame ${frame_w}x${frame_h}, view ${view_w}x${view_h} at +${view_x}+${view_y}, screen ${screen_w}x${screen_h}:"
  local checks=()
  if [ "$mode" = module ]; then
    [ "$view_w" -eq 1034 ] && [ "$view_h" -eq 778 ] || { problem+=" the view is not 1034x778"; return 1; }
    checks+=("3 400 $CLEAR" "500 $((view_h - 3)) $CLEAR")
    checks+=("20 20 $FLIGHT_BACKGROUND" "$((view_w - 5)) 20 $FLIGHT_BACKGROUND" "20 $((view_h - 24)) $FLIGHT_BACKGROUND")
    checks+=("260 167 $FLIGHT_SKY")
    xprop -id "$(awk '{ print $1 }' <<<"$frame_line")" _NET_WM_NAME | grep -q 'Пилотажная панель — ' ||
      { problem+=" the title does not name the display"; return 1; }
  elif [ "$mode" = full ]; then
    [ "$view_w" -eq 778 ] && [ "$view_h" -eq 1034 ] || { problem+=" the view is not 778x1034"; return 1; }
    checks+=("3 500 $CLEAR" "400 $((view_h - 3)) $CLEAR" "3 $((view_h - 3)) $CLEAR")
    checks+=("20 20 $BACKGROUND" "757 20 $BACKGROUND" "20 1010 $BACKGROUND" "757 1010 $BACKGROUND")
  elif [ "$mode" = placed ]; then
    [ "$view_w" -eq 700 ] && [ "$view_h" -eq 500 ] || { problem+=" the view is not 700x500"; return 1; }
    [ "$view_x" -eq 30 ] && [ "$view_y" -eq 40 ] || { problem+=" the view is not at +30+40"; return 1; }
    [ "$frame_w" -eq 700 ] && [ "$frame_h" -eq 500 ] || { problem+=" bars are shown around the view"; return 1; }
    # Turned clockwise, the area is 1034 x 778 scaled by 500 / 778; its
    # margin is now along the top. The display's corners read from the full
    # view's (x, y) go to (W - y, x) before scaling.
    checks+=("3 250 $CLEAR" "$((view_w - 3)) 250 $CLEAR")
    checks+=("$(scaled_turned 20 20) $BACKGROUND" "$(scaled_turned 757 20) $BACKGROUND")
    checks+=("$(scaled_turned 20 1010) $BACKGROUND" "$(scaled_turned 757 1010) $BACKGROUND")
  else
    [ "$frame_w" -le "$screen_w" ] && [ "$frame_h" -le "$screen_h" ] || { problem+=" the window is off the screen"; return 1; }
    [ "$view_h" -lt 1034 ] || { problem+=" the view is not smaller"; return 1; }
    # Scaled to fit: the area's full-size points move with the scale, and
    # the view's sides beside the narrower area show the clear colour.
    checks+=("2 $((view_h / 2)) $CLEAR" "$((view_w - 2)) $((view_h / 2)) $CLEAR")
    checks+=("$(scaled 20 20) $BACKGROUND" "$(scaled 757 20) $BACKGROUND")
    checks+=("$(scaled 20 1010) $BACKGROUND" "$(scaled 757 1010) $BACKGROUND")
  fi
  import -window root "$shot"
  local wrong=""
  for check in "${checks[@]}"; do
    read -r x y r g b <<<"$check"
    got="$(pixel "$x" "$y")"
    near "$got" "$r $g $b" || wrong+=" ($x,$y) is '$got', not '$r $g $b';"
  done
  problem+="$wrong"
  [ -z "$wrong" ]
}

deadline=$((SECONDS + TIMEOUT_S))
while [ "$SECONDS" -lt "$deadline" ]; do
  kill -0 "$pid" 2>/dev/null || fail "the program exited early"
  check_once && { echo "PASS: $problem the view shows the display area and its margin ($shot)"; exit 0; }
  sleep 0.25
done
fail "$problem (screenshot: $shot)"
