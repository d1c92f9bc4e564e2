#!/usr/bin/env bash
# A display of one's own built into a page from the installed package:
#   installed_page.sh SOURCE_DIR NATIVE_BUILD WEB_BUILD NODE_DIR WORK_DIR
# installs the native build and the pages' part into one prefix, builds
# examples/minimal against it with emcmake as a user's project, and opens
# the page in Chromium (installed_page.mjs, run from NODE_DIR, where the
# page tests' packages are). A display whose font the page would set in
# another face must fail its build, naming the face and the FACES name.
set -euo pipefail
source_dir="$(realpath "$1")" native="$(realpath "$2")" web="$(realpath "$3")" node_dir="$(realpath "$4")"
work="$(realpath -m "$5")"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
rm -rf "$work"
mkdir -p "$work"
prefix="$work/prefix"
cmake --install "$native" --prefix "$prefix" >"$work/install.log"
cmake --install "$web" --prefix "$prefix" >>"$work/install.log"
package="$prefix/lib/cmake/InstrumentPanel"

emcmake cmake -S "$source_dir/examples/minimal" -B "$work/minimal" -DCMAKE_BUILD_TYPE=Release \
  -DInstrumentPanel_DIR="$package" >"$work/minimal.log" 2>&1 || { cat "$work/minimal.log"; fail "configure"; }
cmake --build "$work/minimal" >>"$work/minimal.log" 2>&1 || { cat "$work/minimal.log"; fail "the page did not build"; }
for file in index.html page.js minimal-display{,-simd}.{js,wasm,data}; do
  [ -f "$work/minimal/pages/minimal-display/$file" ] || fail "the page lacks $file"
done

# The same dial asking for Times New Roman in bold italics, which pages do
# not ship unless FACES adds it.
serif="$work/serif-source"
mkdir -p "$serif"
sed 's/{"Arial", 14, 1, 0, u"arialbd.ttf"}/{"Times New Roman", 14, 1, 1, u"timesbi.ttf"}/' \
  "$source_dir/examples/minimal/minimal_display.cpp" >"$serif/serif_display.cpp"
grep -q 'Times New Roman' "$serif/serif_display.cpp" || fail "the serif variant was not made"
cat >"$serif/CMakeLists.txt" <<'PROJECT'
cmake_minimum_required(VERSION 3.25)
project(serif_display LANGUAGES CXX)
find_package(InstrumentPanel 1 CONFIG REQUIRED)
instrument_panel_add_display(serif-display SOURCES serif_display.cpp ${SERIF_FACES})
PROJECT
emcmake cmake -S "$serif" -B "$work/serif" -DInstrumentPanel_DIR="$package" >"$work/serif.log" 2>&1 ||
  { cat "$work/serif.log"; fail "configure of the serif display"; }
if cmake --build "$work/serif" >>"$work/serif.log" 2>&1; then
  fail "a page without the face its font needs was built"
fi
grep -q 'needs the face LiberationSerif-BoldItalic.*add FACES LiberationSerif-BoldItalic' "$work/serif.log" ||
  { cat "$work/serif.log"; fail "the build does not name the face and the FACES name"; }
[ ! -f "$work/serif/pages/serif-display/serif-display.wasm" ] || fail "the page was written all the same"
emcmake cmake -S "$serif" -B "$work/serif" "-DSERIF_FACES=FACES;LiberationSerif-BoldItalic" >>"$work/serif.log" 2>&1
# With the face added the check passes (the page itself is linked as above).
cmake --build "$work/serif" --target serif-display-faces-checked >>"$work/serif.log" 2>&1 ||
  { cat "$work/serif.log"; fail "FACES did not add the face"; }
# A FACES name the package has no file for is refused when configuring.
if emcmake cmake -S "$serif" -B "$work/serif" "-DSERIF_FACES=FACES;TimesNewRoman-Bold" >>"$work/serif.log" 2>&1; then
  fail "an unknown FACES name was accepted"
fi
grep -q 'FACES TimesNewRoman-Bold:' "$work/serif.log" || fail "the unknown FACES name is not named"

cd "$node_dir"
node installed_page.mjs "$work/minimal/pages" minimal-display
