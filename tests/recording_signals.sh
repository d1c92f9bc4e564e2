#!/usr/bin/env bash
# A host recording a replay (--record) is stopped by SIGINT, then by
# SIGTERM: it ends with status 0 and a complete recording (every row whole,
# the last one ended), which a replay reads back without a warning.
#   recording_signals.sh OUTPUT_DIR SNAPSHOT MODULE RECORDING HOST ARGS...
# HOST ARGS... is the command that records, started with
# "--display MODULE --data replay:RECORDING --record FILE" appended;
# SNAPSHOT (panel-snapshot) replays what it wrote into MODULE. A host with a
# window runs under with_xvfb.sh.
set -uo pipefail
out="$1" snapshot="$2" module="$3" recording="$4"
shift 4
mkdir -p "$out"
name="$(basename "$1")"

fail() {
  echo "FAIL: $name: $*" >&2
  exit 1
}

pid=""
trap '[ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null; true' EXIT

for signal in INT TERM; do
  file="$out/$name-$signal.csv"
  rm -f "$file"
  "$@" --display "$module" --data "replay:$recording" --record "$file" >"$out/$name-$signal.out" 2>"$out/$name-$signal.err" &
  pid=$!
  # Some rows first, then the signal in the middle of the run.
  for _ in $(seq 1 300); do
    [ "$(wc -l <"$file" 2>/dev/null || echo 0)" -ge 20 ] && break
    kill -0 "$pid" 2>/dev/null || fail "ended before recording 20 rows: $(cat "$out/$name-$signal.err")"
    sleep 0.05
  done
  kill -"$signal" "$pid"
  for _ in $(seq 1 200); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$pid" 2>/dev/null && fail "still running 10 s after SIG$signal"
  wait "$pid"
  status=$?
  pid=""
  [ "$status" -eq 0 ] || fail "SIG$signal ended it with status $status: $(cat "$out/$name-$signal.err")"
  [ "$(tail -c 1 "$file" | od -An -c | tr -d ' ')" = '\n' ] || fail "$file does not end with a whole row"
  rows=$(($(wc -l <"$file") - 1))
  [ "$rows" -ge 20 ] || fail "$file holds $rows rows"
  "$snapshot" --display "$module" --frames 5 --data "replay:$file" -o "$out/$name-$signal.png" >/dev/null 2>"$out/$name-$signal.replay.err" ||
    fail "the replay of $file failed: $(cat "$out/$name-$signal.replay.err")"
  [ ! -s "$out/$name-$signal.replay.err" ] || fail "the replay of $file warned: $(cat "$out/$name-$signal.replay.err")"
  echo "$name: SIG$signal ended it with status 0; $file holds $rows whole rows and replays"
done
