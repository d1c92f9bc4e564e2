#!/usr/bin/env bash
# Runs a command on a private Xvfb server of its own: with_xvfb.sh CMD ARGS...
# The server picks a free display number itself (-displayfd), so parallel
# test runs never race for one.
set -euo pipefail
SCREEN="${XVFB_SCREEN:-1280x1200x24}"
fifo_dir="$(mktemp -d)"
mkfifo "$fifo_dir/display"
Xvfb -displayfd 3 -screen 0 "$SCREEN" -nolisten tcp ${XVFB_ARGS:-} 3>"$fifo_dir/display" 2>"$fifo_dir/xvfb.log" &
xvfb_pid=$!
cleanup() {
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  rm -rf "$fifo_dir"
}
trap cleanup EXIT
if ! read -r -t 30 display_number <"$fifo_dir/display"; then
  echo "Xvfb did not start:" >&2
  cat "$fifo_dir/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$display_number"
# XVFB_KEEP_WAYLAND=1: a test that also drives a Wayland client keeps its
# compositor's socket (the X clients then ignore it themselves).
[ "${XVFB_KEEP_WAYLAND:-0}" = 1 ] || unset WAYLAND_DISPLAY
"$@"
