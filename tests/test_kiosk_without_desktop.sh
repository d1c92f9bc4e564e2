#!/usr/bin/env bash
# The kiosk is configured for a device that has no desktop toolkit: with the
# desktop left out, wxWidgets made unfindable and GTK hidden from pkg-config,
# the project still configures, has the kiosk target, and links the kiosk
# against nothing of wxWidgets or GTK.
#   test_kiosk_without_desktop.sh SOURCE_DIR WORK_DIR
set -euo pipefail
source_dir="$1"
work="$2"
rm -rf "$work"
mkdir -p "$work"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# pkg-config as on a machine without GTK's development files.
cat >"$work/pkg-config" <<'WRAPPER'
#!/bin/sh
for argument in "$@"; do
  case "$argument" in gtk*) exit 1 ;; esac
done
exec pkg-config "$@"
WRAPPER
chmod +x "$work/pkg-config"
# A required find of wxWidgets fails the configure outright when disabled.
cmake -S "$source_dir" -B "$work" -DCMAKE_BUILD_TYPE=Release -DPANEL_DESKTOP=OFF \
  -DCMAKE_DISABLE_FIND_PACKAGE_wxWidgets=ON -DPKG_CONFIG_EXECUTABLE="$work/pkg-config" \
  >"$work/configure.log" 2>&1 || { cat "$work/configure.log" >&2; fail "the kiosk-only tree does not configure"; }
link="$work/app/kiosk/CMakeFiles/instrument-panel-kiosk.dir/link.txt"
[ -f "$link" ] || fail "no kiosk target in the kiosk-only tree"
if grep -Eq 'wx_|gtk|libwx' "$link"; then
  fail "the kiosk links the desktop toolkit: $(grep -Eo '[^ ]*(wx_|gtk|libwx)[^ ]*' "$link" | head -3 | xargs)"
fi
[ ! -f "$work/app/CMakeFiles/instrument-panel.dir/link.txt" ] || fail "the desktop program is in the kiosk-only tree"
echo "PASS: the kiosk configures and links without wxWidgets or GTK"
