#!/usr/bin/env bash
# The CPU backend draws the very same frame on any number of threads:
# panel-snapshot --gl cpu --threads 1, 2, 3 and 5 at 0 and 4 samples and with
# exact coverage, the PNGs compared byte for byte.
#   test_frames_at_thread_counts.sh PANEL_SNAPSHOT OUTPUT_DIR
set -euo pipefail
snapshot="$1"
out="$2/threads"
mkdir -p "$out"
for samples in 0 4 exact; do
  "$snapshot" --gl cpu --samples "$samples" --frames 60 --threads 1 -o "$out/s$samples-t1.png"
  for threads in 2 3 5; do
    "$snapshot" --gl cpu --samples "$samples" --frames 60 --threads "$threads" -o "$out/s$samples-t$threads.png"
    cmp "$out/s$samples-t1.png" "$out/s$samples-t$threads.png" ||
      { echo "FAIL: $threads threads draw another frame than one at $samples samples" >&2; exit 1; }
  done
done
if "$snapshot" --gl cpu --threads 0 -o "$out/refused.png" 2>"$out/refused.txt"; then
  echo "FAIL: --threads 0 was taken" >&2
  exit 1
fi
grep -q -- '--threads takes a thread count from 1 to 64' "$out/refused.txt" ||
  { echo "FAIL: the refusal does not say why: $(cat "$out/refused.txt")" >&2; exit 1; }
echo "PASS: the same frame on 1, 2, 3 and 5 threads at 0 and 4 samples and with exact coverage"
