#!/usr/bin/env bash
# The program with --renderer cpu on an X display (run it through
# with_xvfb.sh, best with XVFB_ARGS="-extension GLX": no OpenGL at all):
#   test_program_cpu_xvfb.sh PROGRAM OUTPUT_DIR [auto]
# Its window comes up and shows the display: a screenshot holds most of the
# display area's background colour, and the program keeps running. With
# auto the program is given no --renderer and must choose the processor by
# itself (no GLX, or Xvfb's GLX, which is Mesa's llvmpipe): its view then has
# no X window of its own, as GTK gives those to GL windows only.
set -uo pipefail
program="$1"
out="$2"
renderer=(--renderer cpu)
[ "${3:-}" = auto ] && renderer=()
mkdir -p "$out"
BACKGROUND="rgb(121,121,140)"  # the display area's background
# Most of the 768 x 1024 area is background (about 480 000 pixels).
MIN_BACKGROUND=300000
TIMEOUT_S=30
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
errors="$(mktemp)"
"$program" "${renderer[@]}" 2>"$errors" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -f "$errors"' EXIT
shot="$out/program-cpu.png"
deadline=$((SECONDS + TIMEOUT_S))
background=0
while [ "$SECONDS" -lt "$deadline" ]; do
  kill -0 "$pid" 2>/dev/null || fail "the program ended: $(cat "$errors")"
  if xdotool search --onlyvisible --name 'Lorvane' >/dev/null 2>&1; then
    import -window root "$shot"
    background="$(convert "$shot" -fill black +opaque "$BACKGROUND" -fill white -opaque "$BACKGROUND" \
      -format '%[fx:round(mean*w*h)]' info:)"
    [ "$background" -ge "$MIN_BACKGROUND" ] && break
  fi
  sleep 0.25
done
[ "$background" -ge "$MIN_BACKGROUND" ] ||
  fail "$background pixels of the display's background on screen, fewer than $MIN_BACKGROUND ($shot)"
kill -0 "$pid" 2>/dev/null || fail "the program ended: $(cat "$errors")"
[ ! -s "$errors" ] || fail "the program wrote to stderr: $(cat "$errors")"
if [ "${3:-}" = auto ]; then
  # A GL view would be an X window of at least the display's size.
  frame="$(xdotool search --onlyvisible --name 'Lorvane' | head -1)"
  gl_views="$(xwininfo -id "$frame" -children | awk '$1 ~ /^0x/ {
    split($(NF-1), g, /[x+]/); if (g[1] * g[2] >= 700 * 1000) n++ } END { print n + 0 }')"
  [ "$gl_views" -eq 0 ] || fail "the view is a GL window: auto chose OpenGL"
fi
echo "PASS: the window shows the display ($background background pixels; $shot)"
