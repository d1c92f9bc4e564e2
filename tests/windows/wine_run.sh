#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own prefix; ctest's
# emulator for the Windows build. WINEPREFIX and DISPLAY come from build.sh.
set -euo pipefail
WINE="${WINE:-/usr/lib/wine/wine64}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec "$WINE" "$@"
