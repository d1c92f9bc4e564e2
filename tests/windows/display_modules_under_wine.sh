#!/usr/bin/env bash
# Display modules (DLLs sharing instrument-panel-gr.dll with the program)
# under Wine on an X display (through with_xvfb.sh):
#   display_modules_under_wine.sh snapshot WINE_RUN SNAPSHOT MINIMAL FLIGHT WITHOUT_ENTRY PROGRAM OUTPUT_DIR
#     panel-snapshot renders the minimal and the flight module (its lamps
#     read from the module's folder, whatever the current one), the minimal
#     one also from a path with spaces and non-ASCII letters, and both
#     executables refuse a file that is no DLL, truncated DLLs and a DLL
#     with no entry;
#   display_modules_under_wine.sh program WINE_RUN PROGRAM MINIMAL OUTPUT_DIR
#     the program shows the minimal module with its name in front of the
#     title, and ends cleanly with Alt+F4.
set -euo pipefail
source "$(dirname "$0")/wine_window.sh"
# The pixel of a PNG at x, y (from the top) as "R,G,B".
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
expect_pixel() {
  local got
  got="$(pixel "$1" "$2" "$3")"
  [ "$got" = "$4" ] || fail "$5: pixel ($2, $3) of $1 is $got, not $4"
}

snapshot_tests() {
  local wine_run="$1" snapshot="$2" minimal="$3" flight="$4" without_entry="$5" program="$6" out="$7"
  mkdir -p "$out"

  # The dial of the minimal display, 200 x 200 units with the 10-pixel
  # margin; display (x, y) with y up lies at image (x + 10, 199 - y).
  "$wine_run" "$snapshot" --samples 0 --display "$minimal" -o "$out/minimal.png" || fail "panel-snapshot refused the minimal module"
  [ "$(identify -format '%wx%h' "$out/minimal.png")" = "210x210" ] || fail "the snapshot is not sized from the module's area"
  expect_pixel "$out/minimal.png" 110 60 "255,200,0" "the upright amber needle at display (100, 139)"
  expect_pixel "$out/minimal.png" 40 99 "20,24,32" "the dial's plate at display (30, 100)"
  expect_pixel "$out/minimal.png" 110 114 "20,24,32" "no needle below the hub at display (100, 85)"

  # Both lamps lit at frame 150; the gear lamp's keyed magenta shows the
  # dark frame beneath. Display (x, y) lies at image (x + 10, 767 - y).
  (cd / && "$wine_run" "$snapshot" --samples 0 --frames 150 --display "$flight" -o "$out/flight.png") ||
    fail "panel-snapshot refused the flight module"
  expect_pixel "$out/flight.png" 577 670 "255,176,0" "the fuel lamp's body"
  expect_pixel "$out/flight.png" 705 670 "255,32,32" "the gear lamp's light"
  expect_pixel "$out/flight.png" 692 685 "16,18,22" "the gear lamp's keyed magenta"

  # A path with spaces and letters beyond ASCII reaches both executables whole.
  local named="$out/dir with spaces ü/Приборы é.dll"
  mkdir -p "$(dirname "$named")"
  cp "$minimal" "$named"
  "$wine_run" "$snapshot" --samples 0 --display "$named" -o "$out/named ü.png" ||
    fail "panel-snapshot refused the module at $named"
  expect_pixel "$out/named ü.png" 110 60 "255,200,0" "the needle of the module at a non-ASCII path"

  printf 'plain text, not a DLL\n' >"$out/not-a-module.dll"
  # The first 1, 4 and 16 KB of a real module: refused before the loader
  # maps them, naming the file.
  local kb truncated=()
  for kb in 1 4 16; do
    head -c $((kb * 1024)) "$flight" >"$out/truncated-$kb.dll"
    truncated+=("$out/truncated-$kb.dll|cannot load the display module: truncated: the file has $((kb * 1024)) bytes")
  done
  local tool bad reason output status args
  for tool in "$snapshot" "$program"; do
    for bad in "$out/not-a-module.dll|cannot load the display module" "${truncated[@]}" \
               "$without_entry|not a display module: it exports no function grDisplayDescriptor"; do
      reason="${bad#*|}" bad="${bad%%|*}"
      args=(--display "$bad")
      [ "$tool" = "$snapshot" ] && args+=(-o "$out/refused.png")
      status=0
      output="$("$wine_run" "$tool" "${args[@]}" 2>&1)" || status=$?
      [ "$status" -ne 0 ] || fail "$(basename "$tool") accepted $bad"
      [[ "$output" == *"$bad: $reason"* ]] || fail "$(basename "$tool") on $bad said: $output"
    done
  done
  echo "display modules under Wine: the minimal and flight modules render, also from a non-ASCII path; bad and truncated modules are refused by name"
}

program_test() {
  local wine_run="$1" program="$2" minimal="$3" out="$4"
  mkdir -p "$out"
  "$wine_run" "$program" --display "$minimal" &
  local pid=$!
  trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true' EXIT
  local window=""
  window="$(find_window '^Minimal dial — Графическая библиотека' "$pid")"
  sleep 1
  import -window root "$out/module-window.png"
  # The upright amber needle: a column of at least 40 such pixels.
  local amber
  amber="$(convert "$out/module-window.png" -fill black +opaque 'rgb(255,200,0)' -fill white -opaque 'rgb(255,200,0)' \
    -format '%[fx:int(mean*w*h+0.5)]' info:)"
  [ "$amber" -ge 40 ] || fail "the window shows no needle of the minimal display ($amber amber pixels)"
  close_with_alt_f4 "$window" "$pid"
  trap - EXIT
  echo "program under Wine: the module's display in a window titled with its name"
}

mode="$1"
shift
case "$mode" in
  snapshot) snapshot_tests "$@" ;;
  program) program_test "$@" ;;
  *) fail "unknown mode $mode" ;;
esac
