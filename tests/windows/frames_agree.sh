#!/usr/bin/env bash
# Renders the first frame with the Linux panel-snapshot at 0 and 4 samples,
# then runs the Windows comparison under Wine:
#   frames_agree.sh LINUX_SNAPSHOT OUTPUT_DIR WINE_RUN TEST_EXE
set -euo pipefail
linux_snapshot="$1" out="$2" wine_run="$3" test_exe="$4"
if [ ! -x "$linux_snapshot" ]; then
  echo "The Linux panel-snapshot is missing ($linux_snapshot): build the Linux program first (./build.sh test)." >&2
  exit 1
fi
mkdir -p "$out"
for samples in 0 4; do
  "$linux_snapshot" --samples "$samples" -o "$out/frame_linux_$samples.png"
done
PANEL_LINUX_FRAMES="Z:$out" exec "$wine_run" "$test_exe"
