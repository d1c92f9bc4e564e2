#!/usr/bin/env bash
# Runs a command as a client of a private headless Weston of its own:
#   with_weston.sh CMD ARGS...
# The compositor has a runtime folder of its own, so parallel runs never
# share a socket; it is stopped when the command ends.
set -euo pipefail
runtime="$(mktemp -d /tmp/panel-weston-XXXXXX)"
chmod 700 "$runtime"
XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="" DISPLAY="" weston --backend=headless-backend.so --use-pixman \
  --shell=desktop-shell.so --socket=wayland-test --width=1280 --height=1100 --idle-time=0 \
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
export XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=wayland-test
unset DISPLAY
"$@"
