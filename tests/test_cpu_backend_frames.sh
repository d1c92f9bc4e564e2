#!/usr/bin/env bash
# The built-in display drawn by the CPU backend against gl1's frame of the
# same animation step (panel-snapshot on Mesa): at 0 samples at most 0.1 %
# of the pixels may differ by more than 2 levels, at 4 samples (llvmpipe's
# own pattern) the same; through the library's backend seam ("cpu", "cpu4")
# and through the GL stand-in on one thread and on three alike; and frames
# drawn after the first allocate nothing.
#   test_cpu_backend_frames.sh PANEL_SNAPSHOT CPU_BACKEND_BENCH OUTPUT_DIR
set -euo pipefail
snapshot="$1"
bench="$2"
out="$3"
frame=120
for samples in 0 4; do
  reference="$out/cpu-reference-s$samples.png"
  "$snapshot" --frames "$frame" --samples "$samples" -o "$reference"
  for path in "--seam" "--threads 1" "--threads 3"; do
    for mode in "" --batched; do
      name="$(tr -d ' -' <<<"s$samples$path$mode")"
      result="$("$bench" --samples "$samples" $path $mode --at "$frame" --frames 3 \
        --compare "$reference" --diff "$out/cpu-diff-$name.png" --max-differing 0.1)"
      echo "$result"
      grep -q ' 0 allocations in 3 frames' <<<"$result" || { echo "FAIL: a steady frame allocated" >&2; exit 1; }
    done
  done
done
echo "PASS"
