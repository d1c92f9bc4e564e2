#!/usr/bin/env bash
# The installed Windows SDK, used as a display author would:
#   installed_sdk.sh BUILD_DIR SOURCE_DIR WINE_RUN SCRATCH_DIR
# installs the build into a scratch prefix, builds the minimal example from
# it with CMake and the cross compiler (find_package + instrument_panel_add_display),
# and renders it with the installed panel-snapshot.exe under Wine.
set -euo pipefail
build="$1" source="$2" wine_run="$3" scratch="$4"
prefix="$scratch/sdk"
rm -rf "$scratch"
mkdir -p "$scratch"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" || fail "install failed ($scratch/install.log)"
for file in include/instrument-panel/gr.h include/instrument-panel/gr_display.h bin/instrument-panel-gr.dll \
            bin/panel-snapshot.exe bin/instrument-panel.exe lib/instrument-panel-gr.dll.a \
            lib/cmake/InstrumentPanel/InstrumentPanelConfig.cmake lib/cmake/InstrumentPanel/InstrumentPanelDisplay.cmake; do
  [ -e "$prefix/$file" ] || fail "the SDK lacks $file"
done

# The toolchain re-roots package searches under the MinGW sysroot; the
# package's folder is named instead.
cmake -S "$source/examples/minimal" -B "$scratch/minimal" -DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-w64-x86_64.cmake" \
  -DInstrumentPanel_DIR="$prefix/lib/cmake/InstrumentPanel" -DCMAKE_BUILD_TYPE=Release \
  >"$scratch/configure.log" 2>&1 || fail "configure failed ($scratch/configure.log)"
cmake --build "$scratch/minimal" >"$scratch/build.log" 2>&1 || fail "build failed ($scratch/build.log)"
module="$scratch/minimal/minimal-display.dll"
[ -f "$module" ] || fail "no module built"

frame="$scratch/minimal.png"
"$wine_run" "$prefix/bin/panel-snapshot.exe" --samples 0 --display "$module" -o "$frame" ||
  fail "the installed panel-snapshot.exe refused the module built against the SDK"
[ "$(identify -format '%wx%h' "$frame")" = "210x210" ] || fail "$frame is not the module's area with its margin"
# The upright amber needle at display (100, 139).
needle="$(convert "$frame" -format '%[fx:int(255*p{110,60}.r)],%[fx:int(255*p{110,60}.g)],%[fx:int(255*p{110,60}.b)]' info:)"
[ "$needle" = "255,200,0" ] || fail "the module built against the SDK shows no needle ($needle)"
echo "PASS: the installed Windows SDK builds the minimal example, and its panel-snapshot.exe renders it"
