#!/usr/bin/env bash
# instrument-panel-gr.dll exports the gr API that the public headers declare,
# the image decoder's start-up the renderer calls, and nothing else, all
# under their C names:
#   gr_dll_exports.sh OBJDUMP CXXFILT DLL HEADER...
set -euo pipefail
objdump="$1" cxxfilt="$2" dll="$3"
shift 3
expected="$( (grep -ohE '^[A-Za-z_][A-Za-z0-9_ *]*[ *]gr[A-Z][A-Za-z0-9]*\(' "$@" |
  grep -oE 'gr[A-Z][A-Za-z0-9]*\($' | tr -d '('; echo startImageDecoder) | sort -u)"
raw="$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  grep -E '^\s+\[ *[0-9]+\] [^ ]+$' | sed 's/.*\] //')"
if echo "$raw" | grep -q '^_Z'; then
  echo "FAIL: the DLL exports C++ names: $(echo "$raw" | grep '^_Z' | head -3 | tr '\n' ' ')"
  exit 1
fi
exported="$(echo "$raw" | "$cxxfilt" | sed 's/(.*//' | sort -u)"
[ "$(echo "$expected" | wc -l)" -gt 90 ] || { echo "FAIL: the headers declare too few gr functions"; exit 1; }
if ! difference="$(diff <(echo "$expected") <(echo "$exported"))"; then
  echo "FAIL: the DLL's exports differ from the gr API ('<' declared only, '>' exported only):"
  echo "$difference"
  exit 1
fi
echo "$(basename "$dll") exports the $(echo "$exported" | wc -l) functions of the gr API"
