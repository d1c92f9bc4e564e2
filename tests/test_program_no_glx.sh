#!/usr/bin/env bash
# The program on an X display without GLX (run it through with_xvfb.sh with
# XVFB_ARGS="-extension GLX"): it ends with a non-zero status and one line on
# stderr that names the cause and the renderer that needs no OpenGL.
set -uo pipefail
program="$1"
errors="$("$program" 2>&1 >/dev/null)"
status=$?
[ "$status" -ne 0 ] || { echo "FAIL: the program ended with status 0" >&2; exit 1; }
lines="$(printf '%s\n' "$errors" | grep -c .)"
[ "$lines" -eq 1 ] || { echo "FAIL: $lines lines on stderr, not one: $errors" >&2; exit 1; }
grep -q 'no usable OpenGL (GLX)' <<<"$errors" || { echo "FAIL: the cause is not named: '$errors'" >&2; exit 1; }
grep -q -- '--renderer cpu' <<<"$errors" || { echo "FAIL: the way out is not named: '$errors'" >&2; exit 1; }
echo "PASS: status $status, '$errors'"
