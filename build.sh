#!/usr/bin/env bash
# Set-up, build and run for a fresh Debian 12 machine.
#   ./build.sh run    install what is missing, build, start the program
#   ./build.sh test   install what is missing, build, run the whole suite
#   ./build.sh sanitize       the whole suite built with AddressSanitizer and
#                             UndefinedBehaviorSanitizer (build-sanitize/)
#   ./build.sh fuzz [SECONDS] each libFuzzer target for SECONDS (default 300)
#                             from its kept corpus (build-fuzz/)
#   ./build.sh soak [FRAMES]  the display headless for FRAMES frames (default
#                             100000), reporting memory, files, textures, errors
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  cmake g++ make pkg-config
  libwxgtk3.2-dev libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0 libx11-dev
  libpng-dev libfreetype-dev libfontconfig-dev libstb-dev fonts-liberation
  libgtest-dev libjpeg62-turbo-dev
  xvfb xauth x11-utils imagemagick
  clang-14 libclang-rt-14-dev
)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
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

build() {
  if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DPANEL_WERROR=ON >/dev/null
  fi
  cmake --build build -j "$(nproc)"
}

FUZZ_TARGETS=(format strings image atlas draw)

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
  ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)"
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
  local passed=0 failed=0
  for target in "${FUZZ_TARGETS[@]}"; do
    local corpus="build-fuzz/corpus/$target" crashes="build-fuzz/crashes/$target"
    mkdir -p "$corpus" "$crashes"
    local log="build-fuzz/$target.log"
    if build-fuzz/tests/fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$crashes/" "$corpus" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
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

run_program() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec build/app/instrument-panel
  fi
  echo "No X display is reachable (DISPLAY='${DISPLAY:-}'); rendering a headless snapshot instead."
  local out="$PWD/build/panel-snapshot.png"
  build/tools/panel-snapshot -o "$out"
  echo "Snapshot written to $out"
}

case "${1:-}" in
  run)
    install_missing
    build
    run_program
    ;;
  test)
    install_missing
    build
    ctest --test-dir build --output-on-failure -j "$(nproc)"
    ;;
  sanitize)
    install_missing
    sanitize
    ;;
  fuzz)
    install_missing
    fuzz "${2:-300}"
    ;;
  soak)
    install_missing
    build
    build/tools/panel-soak --frames "${2:-100000}"
    ;;
  *)
    echo "usage: ./build.sh run | test | sanitize | fuzz [SECONDS] | soak [FRAMES]" >&2
    exit 2
    ;;
esac
