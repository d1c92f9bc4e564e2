#!/usr/bin/env bash
# Runs a command as a client of a private headless Weston of its own:
#   with_weston.sh CMD ARGS...
# The compositor has a runtime folder of its own, so parallel runs never
# share a socket; it is stopped when the command ends. WESTON_SIZE (WxH,
# default 1280x1100) sizes its output in logical units, WESTON_SCALE (default
# 1) gives it that many pixels a unit. WESTON_ON_X=1 runs it as a window on
# the X display of DISPLAY instead (under with_xvfb.sh): headless Weston has
# no input devices, the X one takes the X server's pointer and keyboard, so
# xdotool reaches its clients; WESTON_LOG then names its log, which gives
# the window's id. WESTON_DEBUG=1 lets its clients take screenshots
# (weston-screenshooter).
set -euo pipefail
runtime="$(mktemp -d /tmp/panel-weston-XXXXXX)"
chmod 700 "$runtime"
size="${WESTON_SIZE:-1280x1100}"
backend=headless-backend.so
x_display=""
debug=()
[ "${WESTON_DEBUG:-0}" = 1 ] && debug=(--debug)
if [ "${WESTON_ON_X:-0}" = 1 ]; then
  backend=x11-backend.so
  x_display="${DISPLAY:?WESTON_ON_X needs an X display}"
fi
XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="" DISPLAY="$x_display" weston --backend="$backend" --use-pixman \
  --shell=desktop-shell.so --socket=wayland-test --width="${size%x*}" --height="${size#*x}" --scale="${WESTON_SCALE:-1}" --idle-time=0 "${debug[@]}" \
  >"$runtime/weston.log" 2>&1 &
weston_pid=$!
cleanup() {
  kill "$weston_pid" 2>/dev/null || true
  wait "$weston_pid" 2>/dev/null || true
  rm -rf "$runtime"
}
trap cleanup EXIT
for _ in $(seq 1 200); do
  [ -S "$runtime/wayland-test" ] && break
  kill -0 "$weston_pid" 2>/dev/null || { echo "weston ended at start:" >&2; cat "$runtime/weston.log" >&2; exit 1; }
  sleep 0.05
done
[ -S "$runtime/wayland-test" ] || { echo "weston made no socket" >&2; exit 1; }
export XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=wayland-test WESTON_LOG="$runtime/weston.log"
[ -n "$x_display" ] || unset DISPLAY
"$@"
