#!/usr/bin/env bash
# Set-up, build and run for a fresh Debian 12 machine.
#   ./build.sh run    install what is missing, build, start the program
#                     (./build.sh run --display MODULE shows a display module)
#   ./build.sh test   install what is missing, build, run the whole suite
#   ./build.sh windows  cross-build the Windows program into build-windows,
#                       pack its SDK (build-windows/instrument-panel-windows-sdk.zip)
#                       and run its tests under Wine
#   ./build.sh sanitize       the whole suite built with AddressSanitizer and
#                             UndefinedBehaviorSanitizer (build-sanitize/)
#   ./build.sh fuzz [SECONDS] each libFuzzer target for SECONDS (default 300)
#                             from its kept corpus (build-fuzz/)
#   ./build.sh soak [FRAMES]  the display headless for FRAMES frames (default
#                             100000), reporting memory, files, textures, errors
#   ./build.sh web    builds every display's page for the browser into
#                     build-web/<display>/ (WebAssembly on WebGL 2); once it
#                     exists, ./build.sh test also runs the pages in Chromium
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  cmake g++ make pkg-config
  libwxgtk3.2-dev libgtk-3-dev libgl-dev libegl-dev libgles-dev libgl1-mesa-dri libegl-mesa0 libx11-dev
  libpng-dev libfreetype-dev libfontconfig-dev libstb-dev fonts-liberation libpixman-1-dev
  fonts-dejavu-core fonts-dejavu-extra
  libgtest-dev libjpeg62-turbo-dev locales
  xvfb xauth x11-utils imagemagick
  xdotool procps
  clang-14 libclang-rt-14-dev
  libwayland-dev wayland-protocols libxkbcommon-dev weston
  libmosquitto-dev mosquitto openssl
)

# The Windows build: MinGW-w64 with POSIX threads, Debian's sources of
# OpenSSL and libmosquitto to build for it (OpenSSL's Configure is Perl),
# GoogleTest's sources to build for it, Wine to
# run the tests, and an X server with xdotool and a window manager (openbox)
# for the program's own tests (the broker the tests start is mosquitto, in
# PACKAGES; its mosquitto_sub receives the program's outputs).
WINDOWS_PACKAGES=(
  cmake make g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev dpkg-dev xz-utils perl googletest mosquitto-clients
  wine64 xvfb xauth xdotool imagemagick fonts-liberation openbox
)

# The browser's build: Emscripten, Debian's sources of the C libraries it
# compiles, the stb_image header, the faces pages ship, and Chromium with
# Node for the page tests and the pages' MQTT client (npm comes with Node;
# Debian's npm package is added only without one), and the broker the page
# tests start. tests/build_packages.sh holds each list to what its
# build reads.
WEB_PACKAGES=(
  cmake make emscripten binaryen dpkg-dev xz-utils libstb-dev fonts-liberation chromium nodejs mosquitto
)

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local line="apt-get install -y --no-install-recommends ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run as root:"
    echo "  apt-get update && $line"
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $line
}

# The program's users run it in a Russian locale; the tests that numbers read
# and print with a point whatever the locale need one with a decimal comma.
TEST_LOCALE="ru_RU.UTF-8"

has_test_locale() {
  locale -a 2>/dev/null | grep -qix 'ru_RU\.utf-\?8'
}

# Enables the locale in /etc/locale.gen and generates it; nothing to do when
# it exists. Without root, says how and fails only when the tests need it.
ensure_test_locale() {
  has_test_locale && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "The locale $TEST_LOCALE is missing. Run as root:"
    echo "  echo '$TEST_LOCALE UTF-8' >> /etc/locale.gen && locale-gen"
    [ "$1" = required ] && exit 1
    return 0
  fi
  echo "Generating the locale $TEST_LOCALE"
  if grep -q "^# *$TEST_LOCALE UTF-8" /etc/locale.gen 2>/dev/null; then
    sed -i "s/^# *\($TEST_LOCALE UTF-8\)/\1/" /etc/locale.gen
  elif ! grep -q "^$TEST_LOCALE UTF-8" /etc/locale.gen 2>/dev/null; then
    echo "$TEST_LOCALE UTF-8" >> /etc/locale.gen
  fi
  locale-gen >/dev/null
  has_test_locale || { echo "locale-gen did not make $TEST_LOCALE"; exit 1; }
}

build() {
  if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DPANEL_WERROR=ON >/dev/null
  fi
  cmake --build build -j "$(nproc)"
}

build_windows() {
  tools/windows/build_deps.sh build-windows/deps build-windows/deps/prefix
  if [ ! -f build-windows/CMakeCache.txt ]; then
    cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release -DPANEL_WERROR=ON \
      -DCMAKE_CROSSCOMPILING_EMULATOR="$PWD/tests/windows/wine_run.sh" >/dev/null
  fi
  cmake --build build-windows -j "$(nproc)"
  windows_sdk_zip
}

# The Windows SDK as a zip, for a Windows author to unpack and build a
# module against with CMake (find_package(InstrumentPanel CONFIG)).
windows_sdk_zip() {
  local name="instrument-panel-windows-sdk"
  rm -rf "build-windows/sdk"
  cmake --install build-windows --prefix "build-windows/sdk/$name" >/dev/null
  # The pages' part, where the web verb has built it: a Windows author's
  # display becomes a page with emcmake, as on Linux.
  if [ -f build-web/cmake/CMakeCache.txt ]; then
    cmake --install build-web/cmake --prefix "build-windows/sdk/$name" >/dev/null
  fi
  (cd build-windows/sdk && cmake -E tar cf "../$name.zip" --format=zip "$name")
  echo "Windows SDK: build-windows/$name.zip"
}

# The tests run under Wine in a prefix of the build's own, made once, on a
# private X server; one wineserver serves the whole run.
test_windows() {
  export WINEPREFIX="$PWD/build-windows/wineprefix"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  tests/with_xvfb.sh bash -c '
    set -e
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "Creating the Wine prefix (once)..."
      /usr/lib/wine/wine64 wineboot -i
      /usr/lib/wine/wineserver -w
    fi
    # Wine starts its background services with the first program; started
    # here they hold no test output pipe open.
    /usr/lib/wine/wineserver -p
    /usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1
    status=0
    ctest --test-dir build-windows --output-on-failure -j "$(nproc)" || status=$?
    /usr/lib/wine/wineserver -k || true
    exit $status'
}

FUZZ_TARGETS=(format strings image atlas draw module elf image_limits pe_layout generic xplane json mapping recording
  mqtt output_mapping)

# What the sanitizers report on, and the system libraries' leaks they skip.
sanitizer_environment() {
  export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  export LSAN_OPTIONS="suppressions=$PWD/tests/sanitize/lsan.supp:print_suppressions=0"
}

sanitize() {
  if [ ! -f build-sanitize/CMakeCache.txt ]; then
    cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
      -DPANEL_SANITIZE=ON -DPANEL_WERROR=ON >/dev/null
  fi
  cmake --build build-sanitize -j "$(nproc)"
  sanitizer_environment
  # LeakSanitizer's tracer now and then crashes on llvmpipe's worker threads
  # at exit ("Tracer caught signal 11") after every check has passed: a test
  # that fails is run once more, and a real fault fails both times.
  ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)" --repeat until-pass:2
}

# Runs every fuzz target for the given seconds on a working copy of its
# corpus; a crash leaves its input under build-fuzz/crashes/TARGET/.
fuzz() {
  local seconds="${1:-300}"
  if [ ! -f build-fuzz/CMakeCache.txt ]; then
    CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPANEL_FUZZ=ON >/dev/null
  fi
  cmake --build build-fuzz -j "$(nproc)"
  sanitizer_environment
  # One target a core at a time; each reports into its own log.
  local jobs running=0
  jobs="$(nproc)"
  for target in "${FUZZ_TARGETS[@]}"; do
    local corpus="build-fuzz/corpus/$target" crashes="build-fuzz/crashes/$target"
    mkdir -p "$corpus" "$crashes"
    build-fuzz/tests/fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$crashes/" "$corpus" "tests/fuzz/corpus/$target" \
      >"build-fuzz/$target.log" 2>&1 &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
      wait -n || true
      running=$((running - 1))
    fi
  done
  wait || true
  local passed=0 failed=0
  for target in "${FUZZ_TARGETS[@]}"; do
    local log="build-fuzz/$target.log" crashes="build-fuzz/crashes/$target"
    if grep -q 'stat::number_of_executed_units' "$log" && ! ls "$crashes"/* >/dev/null 2>&1; then
      passed=$((passed + 1))
      echo "fuzz_$target: $(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | awk '{ print $2 }') inputs in ${seconds} s, no crash"
    else
      failed=$((failed + 1))
      echo "fuzz_$target: FAILED; the input is in $crashes/ (fix it, then keep it in tests/fuzz/crashes/$target/):"
      grep -E 'ERROR|SUMMARY|runtime error|fuzz check failed' "$log" | head -5
    fi
  done
  echo "fuzz: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

# Debian's Emscripten finds its Node modules only through NODE_PATH.
export_web_environment() {
  export NODE_PATH=/usr/share/nodejs
}

build_web() {
  export_web_environment
  command -v npm >/dev/null || install_missing npm
  tools/web/build_deps.sh build-web/deps build-web/deps/prefix
  if [ ! -f build-web/cmake/CMakeCache.txt ]; then
    emcmake cmake -S . -B build-web/cmake -DCMAKE_BUILD_TYPE=Release -DPANEL_WERROR=ON \
      -DPANEL_WEB_DEPS="$PWD/build-web/deps/prefix" -DPANEL_WEB_PAGES="$PWD/build-web" >/dev/null
  fi
  cmake --build build-web/cmake -j "$(nproc)"
  echo "Pages written: build-web/*/index.html (serve one with: python3 -m http.server --bind 127.0.0.1 -d build-web/instrument-panel 8000)"
}

# The page tests' Node packages (puppeteer-core drives the system's
# Chromium; it downloads no browser), installed beside copies of the
# scripts so that their imports find them.
prepare_page_tests() {
  command -v npm >/dev/null || install_missing npm
  local node=build-web/node
  mkdir -p "$node"
  if ! cmp -s tests/web/package-lock.json "$node/package-lock.json" || [ ! -d "$node/node_modules" ]; then
    cp tests/web/package.json tests/web/package-lock.json "$node/"
    (cd "$node" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
  fi
  cp tests/web/*.mjs tools/web/*.mjs "$node/"
}

# The pages in headless Chromium against panel-snapshot of the native build.
test_web() {
  prepare_page_tests
  cmake --build build -j "$(nproc)" --target panel-snapshot panel-feed flight-display instrument-panel \
    instrument-panel-kiosk free-ports
  local status=0
  node build-web/node/page_tests.mjs build-web build/tools/panel-snapshot \
    build/examples/flight/flight-display.so build/test-output/web || status=1
  node build-web/node/page_mqtt_tests.mjs build-web build/tools/panel-snapshot build/tools/panel-feed \
    build/examples/flight/flight-display.so tests/mqtt/mosquitto.conf.in build/test-output/web-mqtt || status=1
  # A cockpit: the program, the kiosk, the page and panel-snapshot on one broker at once.
  WESTON_DEBUG=1 WESTON_SIZE=1034x778 XVFB_KEEP_WAYLAND=1 tests/with_weston.sh tests/with_xvfb.sh \
    tests/cockpit_over_mqtt.sh build/app/instrument-panel build/app/kiosk/instrument-panel-kiosk \
    build/tools/panel-snapshot build/tools/panel-feed build/examples/flight/flight-display.so build/tests/free-ports \
    tests/mqtt/mosquitto.conf.in build-web build-web/node build/test-output/cockpit || status=1
  # A display of one's own built into a page from the installed package.
  tests/web/installed_page.sh . build build-web/cmake build-web/node build/test-output/web-installed || status=1
  return "$status"
}

run_program() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec build/app/instrument-panel "$@"
  fi
  echo "No X display is reachable (DISPLAY='${DISPLAY:-}'); rendering a headless snapshot instead."
  # The program's renderer is the snapshot's backend: cpu draws without GL,
  # gl on the program's own backend, gl1.
  local snapshot_args=() renderer=""
  while [ $# -gt 0 ]; do
    case "$1" in
      --renderer) renderer="${2:-}"; shift $(($# > 1 ? 2 : 1)) ;;
      --renderer=*) renderer="${1#--renderer=}"; shift ;;
      *) snapshot_args+=("$1"); shift ;;
    esac
  done
  case "$renderer" in
    "" | auto | gl) ;;
    cpu) snapshot_args+=(--gl cpu) ;;
    *) echo "build.sh run: unknown renderer '$renderer' (auto, gl or cpu)" >&2; exit 2 ;;
  esac
  local out="$PWD/build/panel-snapshot.png"
  build/tools/panel-snapshot "${snapshot_args[@]}" -o "$out"
  echo "Snapshot written to $out"
}

USAGE="usage: ./build.sh run [--display MODULE ...] | test | windows | sanitize | fuzz [SECONDS] | soak [FRAMES] | web"

refuse() {
  echo "./build.sh: $1" >&2
  echo "$USAGE" >&2
  exit 2
}

# A verb takes no arguments, or one positive count; 'run' passes the rest to
# the program, which judges them itself.
verb="${1:-}"
[ $# -gt 0 ] && shift
case "$verb" in
  run) ;;
  test | windows | sanitize | web)
    [ $# -eq 0 ] || refuse "'$verb' takes no arguments (got: $*)"
    ;;
  fuzz | soak)
    [ $# -le 1 ] || refuse "'$verb' takes one count at most (got: $*)"
    if [ $# -eq 1 ] && ! [[ "$1" =~ ^[1-9][0-9]*$ ]]; then
      refuse "'$verb' takes a positive whole number, not '$1'"
    fi
    ;;
  "") refuse "no verb given" ;;
  *) refuse "unknown verb '$verb'" ;;
esac

case "$verb" in
  run)
    install_missing "${PACKAGES[@]}"
    ensure_test_locale optional
    build
    run_program "$@"
    ;;
  test)
    install_missing "${PACKAGES[@]}"
    ensure_test_locale required
    build
    status=0
    ctest --test-dir build --output-on-failure -j "$(nproc)" || status=$?
    if [ -f build-web/cmake/CMakeCache.txt ]; then
      install_missing "${WEB_PACKAGES[@]}"
      build_web
      test_web || status=1
    fi
    exit "$status"
    ;;
  windows)
    install_missing "${PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
    # The Linux panel-snapshot renders the frame the Windows one is held to;
    # the Linux panel-feed feeds the Windows program, udp_listener hears what
    # it sends, close_window_x11 presses its close button, and free-ports
    # gives the tests' broker its ports.
    [ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DPANEL_WERROR=ON >/dev/null
    cmake --build build -j "$(nproc)" --target panel-snapshot panel-feed free-ports udp_listener close_window_x11
    build_windows
    test_windows
    ;;
  sanitize)
    install_missing "${PACKAGES[@]}"
    ensure_test_locale required
    sanitize
    ;;
  fuzz)
    install_missing "${PACKAGES[@]}"
    fuzz "${1:-300}"
    ;;
  soak)
    install_missing "${PACKAGES[@]}"
    build
    build/tools/panel-soak --frames "${1:-100000}"
    ;;
  web)
    install_missing "${WEB_PACKAGES[@]}"
    build_web
    ;;
esac
