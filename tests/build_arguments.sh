#!/usr/bin/env bash
# build.sh refuses an unknown verb or argument with its usage on stderr and
# status 2 before it installs or builds anything, and takes the documented
# ones. Programs of the same names as dpkg-query and id stand in front of the
# real ones: every package reads as missing and the user as not root, so an
# accepted command stops at "Missing packages" with status 1, having started
# nothing.
#   tests/build_arguments.sh SOURCE_DIR
set -uo pipefail
src=$(realpath "$1")
shims=$(mktemp -d)
trap 'rm -rf "$shims"' EXIT
printf '#!/bin/sh\nexit 1\n' >"$shims/dpkg-query"
printf '#!/bin/sh\necho 1000\n' >"$shims/id"
chmod +x "$shims/dpkg-query" "$shims/id"

failures=0
expect() {
  local want=$1
  shift
  local out err status
  out=$(PATH="$shims:$PATH" "$src/build.sh" "$@" 2>"$shims/stderr")
  status=$?
  err=$(cat "$shims/stderr")
  local verdict=ok
  if [ "$want" = refused ]; then
    [ "$status" -eq 2 ] && grep -q '^usage: ./build.sh' <<<"$err" && [ -z "$out" ] || verdict=FAILED
  else
    [ "$status" -eq 1 ] && grep -q '^Missing packages' <<<"$out" || verdict=FAILED
  fi
  echo "$verdict: build.sh $* ($want expected; status $status)"
  if [ "$verdict" != ok ]; then
    failures=$((failures + 1))
    sed 's/^/  stdout: /' <<<"$out"
    sed 's/^/  stderr: /' <<<"$err"
  fi
}

expect refused
expect refused bogus
expect refused --help
expect refused web --help
expect refused web MODULE
expect refused test extra
expect refused windows --x
expect refused sanitize 1
expect refused fuzz abc
expect refused fuzz 0
expect refused fuzz 10 20
expect refused soak -5
expect refused soak 100 more

expect accepted run
expect accepted run --display build/examples/flight/flight-display.so --renderer cpu
expect accepted test
expect accepted web
expect accepted windows
expect accepted sanitize
expect accepted fuzz
expect accepted fuzz 30
expect accepted soak
expect accepted soak 1000

[ "$failures" -eq 0 ]
