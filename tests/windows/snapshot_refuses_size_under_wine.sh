#!/usr/bin/env bash
# panel-snapshot.exe refuses a frame above its memory cap before drawing
# anything: snapshot_refuses_size_under_wine.sh WINE_RUN SNAPSHOT OUTPUT_DIR ARGS...
# The exit status is 2, the message names the cap and --max-memory, and no
# picture is written (never an all-black PNG).
set -euo pipefail
source "$(dirname "$0")/wine_window.sh"
wine_run="$1" snapshot="$2" out="$3"
shift 3
mkdir -p "$out"
png="$out/refused.png"
rm -f "$png"
status=0
message="$("$wine_run" "$snapshot" "$@" -o "$png" 2>&1 >/dev/null)" || status=$?
[ "$status" -eq 2 ] || fail "panel-snapshot.exe $*: exit status $status, not 2: $message"
grep -qF "more than the cap of 2048 MiB" <<<"$message" || fail "panel-snapshot.exe $*: does not name the cap: $message"
grep -qF -- "--max-memory" <<<"$message" || fail "panel-snapshot.exe $*: does not name --max-memory: $message"
[ ! -e "$png" ] || fail "panel-snapshot.exe $*: wrote $png although it refused the size"
echo "panel-snapshot.exe $*: refused with \"$message\""
