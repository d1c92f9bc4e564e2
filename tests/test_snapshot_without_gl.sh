#!/usr/bin/env bash
# panel-snapshot --gl cpu needs no GL: it renders where EGL cannot start
# (glvnd pointed at no vendor, no Mesa driver path) the very frame it renders
# where EGL can, and even there it loads no GL driver. --gl gl1 in the same
# environment must fail, or the environment does not shut EGL out.
#   test_snapshot_without_gl.sh PANEL_SNAPSHOT OUTPUT_DIR
set -euo pipefail
snapshot="$1"
out="$2"
no_egl=(env __EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent LIBGL_DRIVERS_PATH=/nonexistent)
if "${no_egl[@]}" "$snapshot" --gl gl1 --samples 0 -o "$out/no-egl-gl1.png" 2>/dev/null; then
  echo "FAIL: gl1 drew although EGL should not start" >&2
  exit 1
fi
for samples in 0 4; do
  "${no_egl[@]}" "$snapshot" --gl cpu --samples "$samples" --frames 30 -o "$out/no-egl-cpu-s$samples.png"
  loaded="$(LD_DEBUG=libs "$snapshot" --gl cpu --samples "$samples" --frames 30 -o "$out/cpu-s$samples.png" 2>&1 |
    grep 'calling init' || true)"
  if grep -Ei 'mesa|/dri/|llvm|gallium' <<<"$loaded"; then
    echo "FAIL: --gl cpu at $samples samples loaded a GL driver (above)" >&2
    exit 1
  fi
  cmp "$out/no-egl-cpu-s$samples.png" "$out/cpu-s$samples.png" ||
    { echo "FAIL: the frame at $samples samples depends on whether EGL can start" >&2; exit 1; }
done
echo "PASS"
