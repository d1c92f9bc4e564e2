#!/usr/bin/env bash
# The installed package, used as a display author would:
#   test_installed_package.sh BUILD_DIR SOURCE_DIR SCRATCH_DIR
# installs the build into a scratch prefix, builds the example display from
# it with CMake (find_package + instrument_panel_add_display) and again with
# the guide's pkg-config recipe run word for word, renders a frame of each
# with the installed panel-snapshot and checks both frames have the display's
# size and agree; then builds a display written in C11 and checks the library
# exports C names only.
set -euo pipefail
build="$1"
source="$2"
scratch="$3"
# The guide installs under $HOME/opt/instrument-panel.
home="$scratch/home"
prefix="$home/opt/instrument-panel"
rm -rf "$scratch"
mkdir -p "$scratch"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" || fail "install failed ($scratch/install.log)"
for file in include/instrument-panel/gr.h include/instrument-panel/gr_display.h bin/panel-snapshot bin/panel-feed \
            bin/instrument-panel lib/libinstrument-panel-gr.so lib/pkgconfig/instrument-panel.pc \
            lib/cmake/InstrumentPanel/InstrumentPanelConfig.cmake; do
  [ -e "$prefix/$file" ] || fail "the package lacks $file"
done

# CMake: configure, build the module and its snapshot target.
cmake -S "$source/examples/flight" -B "$scratch/cmake" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_BUILD_TYPE=Release >"$scratch/configure.log" 2>&1 || fail "configure failed ($scratch/configure.log)"
cmake --build "$scratch/cmake" --target flight-snapshot >"$scratch/build.log" 2>&1 ||
  fail "build failed ($scratch/build.log)"
cmake_frame="$scratch/cmake/flight-snapshot.png"
[ -f "$cmake_frame" ] || fail "no frame written"
[ -f "$scratch/cmake/lamp_gear.png" ] || fail "the module's images are not beside it"

# pkg-config: the guide's recipe as it stands, in a copy of the example.
recipe="$(awk '/<!-- pkg-config recipe -->/ { found = 1; next }
               found && /^    / { print substr($0, 5); started = 1; next }
               found && started && !/^$/ { exit }' "$source/docs/DISPLAY-AUTHORS.md")"
[ -n "$recipe" ] || fail "the guide has no pkg-config recipe"
cp -r "$source/examples/flight" "$scratch/pkg-config"
(cd "$scratch/pkg-config" && HOME="$home" bash -euo pipefail -c "$recipe") >"$scratch/recipe.log" 2>&1 ||
  fail "the guide's pkg-config recipe failed ($scratch/recipe.log)"
pc_frame="$scratch/pkg-config/flight.png"

for frame in "$cmake_frame" "$pc_frame"; do
  size="$(identify -format '%wx%h' "$frame")"
  [ "$size" = "1034x778" ] || fail "$frame is $size, not the display area with its margin (1034x778)"
done
differing="$(compare -metric AE "$cmake_frame" "$pc_frame" null: 2>&1 || true)"
[ "$differing" = "0" ] || fail "the two builds render differently: $differing pixels ($cmake_frame, $pc_frame)"

# C: the minimal dial written in C11 renders what the C++ one does.
mkdir -p "$scratch/c"
flags="$(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs instrument-panel)"
# shellcheck disable=SC2086
gcc -std=c11 -Wall -Wextra -Wstrict-prototypes -Wold-style-definition -Werror -pedantic -O1 -shared -fPIC -fvisibility=hidden -Wl,--no-undefined \
  "$source/examples/minimal/minimal_display.c" $flags -Wl,-rpath,"$prefix/lib" -o "$scratch/c/c-display.so" ||
  fail "the display written in C does not build"
cmake -S "$source/examples/minimal" -B "$scratch/minimal" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_BUILD_TYPE=Release >"$scratch/minimal.log" 2>&1 &&
  cmake --build "$scratch/minimal" >>"$scratch/minimal.log" 2>&1 || fail "minimal build failed ($scratch/minimal.log)"
for display in c/c-display minimal/minimal-display; do
  "$prefix/bin/panel-snapshot" --display "$scratch/$display.so" --frames 20 -o "$scratch/$display.png" ||
    fail "the installed panel-snapshot could not render $display.so"
done
differing="$(compare -metric AE "$scratch/c/c-display.png" "$scratch/minimal/minimal-display.png" null: 2>&1 || true)"
[ "$differing" = "0" ] || fail "the C display renders differently from the C++ one: $differing pixels"

# Every name the library exports is a C name, for any compiler to link.
mangled="$(nm -D --defined-only "$prefix/lib/libinstrument-panel-gr.so" | awk '$3 ~ /^_Z/ { print $3 }')"
[ -z "$mangled" ] || fail "the library exports C++ names: $(echo "$mangled" | head -3 | tr '\n' ' ')"
echo "PASS: the installed package builds and runs the example ($cmake_frame) and a display in C"
