#!/usr/bin/env bash
# A program started where fontconfig knows no font at all:
#   test_without_fonts.sh PROGRAM ARGS...
# It must end (no dialog left waiting) with status 1 and say
# "Ошибка: Ошибка загрузки шрифтов." on stderr followed by the table entry and
# the cause, and nothing that blames something else. For panel-snapshot
# (TOOL_ONLY_LINE=1) that is its only line.
set -uo pipefail
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
mkdir "$folder/fonts"
printf '<fontconfig><dir>%s</dir><cachedir>%s</cachedir></fontconfig>\n' "$folder/fonts" "$folder/cache" \
  >"$folder/fonts.conf"
FONTCONFIG_FILE="$folder/fonts.conf" timeout 30 "$@" >/dev/null 2>"$folder/stderr"
status=$?
errors="$(cat "$folder/stderr")"
fail() { echo "FAIL: $* (status $status, stderr: '$errors')" >&2; exit 1; }
[ "$status" -ne 124 ] || fail "still running after 30 s"
[ "$status" -eq 1 ] || fail "not the documented status 1"
line='^Ошибка: Ошибка загрузки шрифтов\. font 0 \(".+", [0-9]+ pt.*\): the system has no font'
grep -qE "$line" <<<"$errors" || fail "the font failure, its entry or its cause is not named"
! grep -qi 'GL context' <<<"$errors" || fail "a second, misleading cause"
if [ "${TOOL_ONLY_LINE:-0}" = 1 ]; then
  [ "$(wc -l <<<"$errors")" -eq 1 ] || fail "more than the one line"
fi
echo "PASS: status $status"
