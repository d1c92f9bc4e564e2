#!/usr/bin/env bash
# The shared drawing library (libinstrument-panel-gr.so, or the DLL) exports
# the functions the public headers declare and nothing else:
#   gr_exports.sh so NM CXXFILT LIBRARY HEADER...
#   gr_exports.sh dll OBJDUMP CXXFILT LIBRARY HEADER...
set -euo pipefail
kind="$1" tool="$2" cxxfilt="$3" library="$4"
shift 4
declared="$(grep -ohE '^[A-Za-z_][A-Za-z0-9_ *]*[ *][A-Za-z_][A-Za-z0-9_]*\(' "$@" |
  grep -oE '[A-Za-z_][A-Za-z0-9_]*\($' | tr -d '(' | sort -u)"
case "$kind" in
so) names="$("$tool" -D --defined-only "$library" | awk 'NF == 3 && $2 != "A" { print $3 }')" ;;
dll) names="$("$tool" -p "$library" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  grep -E '^\s+\[ *[0-9]+\] [^ ]+$' | sed 's/.*\] //')" ;;
*) echo "usage: $0 so|dll TOOL CXXFILT LIBRARY HEADER..." >&2; exit 2 ;;
esac
# The API has C linkage: a C++ name leaving the library is a fault.
if echo "$names" | grep -q '^_Z'; then
  echo "FAIL: $(basename "$library") exports C++ names: $(echo "$names" | grep '^_Z' | head -3 | tr '\n' ' ')"
  exit 1
fi
exported="$(echo "$names" | "$cxxfilt" | sed 's/(.*//' | sort -u)"
[ "$(echo "$declared" | wc -l)" -gt 90 ] || { echo "FAIL: the headers declare too few functions"; exit 1; }
if ! difference="$(diff <(echo "$declared") <(echo "$exported"))"; then
  echo "FAIL: $(basename "$library") exports other functions than the headers declare ('<' declared only, '>' exported only):"
  echo "$difference"
  exit 1
fi
echo "$(basename "$library") exports the $(echo "$exported" | wc -l) functions the headers declare"
