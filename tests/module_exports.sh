#!/usr/bin/env bash
# Each display module exports its entry, grDisplayDescriptor, and nothing
# else, so that two displays never clash over a name:
#   module_exports.sh NM MODULE...
set -euo pipefail
nm="$1"
shift
for module in "$@"; do
  exported="$("$nm" -D --defined-only "$module" | awk 'NF == 3 && $2 != "A" { print $3 }' | sort -u)"
  if [ "$exported" != grDisplayDescriptor ]; then
    echo "FAIL: $(basename "$module") exports:"
    echo "$exported"
    exit 1
  fi
done
echo "$# modules export grDisplayDescriptor only"
