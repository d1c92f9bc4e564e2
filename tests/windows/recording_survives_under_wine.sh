#!/usr/bin/env bash
# The Windows program's --record survives being stopped from outside, under
# Wine on an X display (through with_xvfb.sh):
#   recording_survives_under_wine.sh WINE_RUN PROGRAM SNAPSHOT MODULE RECORDING OUT_DIR
# The program replays RECORDING into MODULE and records it, and is stopped
# in the middle of the run by taskkill /IM without /F, which asks its
# windows to close, as a script on Windows stops a program. It must end
# with status 0 and a complete recording (every row whole, the last one
# ended), which the Windows panel-snapshot (SNAPSHOT) replays without a
# warning.
# Wine 8 hands SIGINT (Ctrl+C in its terminal) to no console control handler
# of a windowed program, and SIGTERM ends the process at once: neither is a
# way to stop it that the program can act on.
set -uo pipefail
source "$(dirname "$0")/wine_window.sh"
wine_run="$1" program="$2" snapshot="$3" module="$4" recording="$5" out="$6"
mkdir -p "$out"
name="$(basename "$program")"

pid=""
trap '[ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null; true' EXIT

for way in taskkill; do
  file="$out/recording-$way.csv"
  rm -f "$file"
  "$wine_run" "$program" --display "$module" --data "replay:$recording" --record "$file" \
    >"$out/$way.out" 2>"$out/$way.err" &
  pid=$!
  # Some rows first, then the stop in the middle of the run.
  for _ in $(seq 1 600); do
    [ "$(wc -l 2>/dev/null <"$file" || echo 0)" -ge 20 ] && break
    kill -0 "$pid" 2>/dev/null || fail "$way: ended before recording 20 rows: $(cat "$out/$way.err")"
    sleep 0.05
  done
  [ "$(wc -l 2>/dev/null <"$file" || echo 0)" -ge 20 ] || fail "$way: fewer than 20 rows in 30 s"
  "$wine_run" taskkill /IM "$name" >"$out/$way-taskkill.out" 2>&1 ||
    fail "$way: taskkill failed: $(cat "$out/$way-taskkill.out")"
  for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "$way: still running 10 s after the stop"
  wait "$pid"
  status=$?
  pid=""
  [ "$status" -eq 0 ] || fail "$way: ended with status $status: $(cat "$out/$way.err")"
  [ "$(tail -c 1 "$file" | od -An -c | tr -d ' ')" = '\n' ] || fail "$way: $file does not end with a whole row"
  rows=$(($(wc -l <"$file") - 1))
  [ "$rows" -ge 20 ] || fail "$way: $file holds $rows rows"
  "$wine_run" "$snapshot" --display "$module" --frames 5 --data "replay:$file" -o "$out/replayed-$way.png" \
    >/dev/null 2>"$out/replay-$way.err" || fail "$way: the replay of $file failed: $(cat "$out/replay-$way.err")"
  [ ! -s "$out/replay-$way.err" ] || fail "$way: the replay of $file warned: $(cat "$out/replay-$way.err")"
  echo "$way: ended with status 0; $file holds $rows whole rows and replays"
done
trap - EXIT
