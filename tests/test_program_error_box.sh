#!/usr/bin/env bash
# The program with a display whose image cannot be loaded (run it through
# with_xvfb.sh): test_program_error_box.sh PROGRAM MODULE OUTPUT_DIR [ARGS...]
# The module is copied into a folder without its images. The program says
# the failure and the file on stderr, shows it in a modal error box, and,
# once the box is answered with Enter, ends with status 1.
set -uo pipefail
program="$1"
module="$2"
out="$3"
shift 3
TIMEOUT_S=30
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
folder="$(mktemp -d "${TMPDIR:-/tmp}/panel-error-box-XXXXXX")"
trap 'rm -rf "$folder"' EXIT
errors="$folder/stderr.txt"
cp "$module" "$folder/"
mkdir -p "$out"
"$program" --display "$folder/$(basename "$module")" "$@" 2>"$errors" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$folder"' EXIT

box=""
deadline=$((SECONDS + TIMEOUT_S))
while [ -z "$box" ] && [ "$SECONDS" -lt "$deadline" ]; do
  kill -0 "$pid" 2>/dev/null || fail "the program ended before its error box: $(cat "$errors")"
  box="$(xdotool search --onlyvisible --name '^Ошибка$' 2>/dev/null | head -1 || true)"
  sleep 0.25
done
[ -n "$box" ] || fail "no error box within ${TIMEOUT_S} s"
import -window root "$out/error-box.png"
grep -q 'Ошибка: Ошибка загрузки символов\. .*lamp_' "$errors" ||
  fail "stderr does not name the failure and the image: '$(cat "$errors")'"

# No window manager: the box is given the keyboard focus directly.
kill -0 "$pid" 2>/dev/null || fail "the program did not wait for the box to be answered"
xdotool windowfocus --sync "$box" key Return
deadline=$((SECONDS + TIMEOUT_S))
while kill -0 "$pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
  sleep 0.25
done
kill -0 "$pid" 2>/dev/null && fail "the program still runs after the box was answered"
wait "$pid"
status=$?
[ "$status" -eq 1 ] || fail "the program ended with status $status, not 1"
echo "PASS: status 1 after the error box, '$(head -1 "$errors")' (box: $out/error-box.png)"
