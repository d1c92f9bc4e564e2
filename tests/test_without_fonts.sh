#!/usr/bin/env bash
# A program started where fontconfig knows no font at all:
#   test_without_fonts.sh PROGRAM ARGS...
# It must end (no dialog left waiting) with a non-zero status and say
# "Ошибка: Ошибка загрузки шрифтов." on stderr, and nothing that blames
# something else. For panel-snapshot (TOOL_ONLY_LINE=1) that is its only line.
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
[ "$status" -ne 0 ] || fail "status 0"
grep -qx 'Ошибка: Ошибка загрузки шрифтов.' <<<"$errors" || fail "the font failure is not named"
! grep -qi 'GL context' <<<"$errors" || fail "a second, misleading cause"
if [ "${TOOL_ONLY_LINE:-0}" = 1 ]; then
  [ "$errors" = 'Ошибка: Ошибка загрузки шрифтов.' ] || fail "more than the one line"
fi
echo "PASS: status $status"
