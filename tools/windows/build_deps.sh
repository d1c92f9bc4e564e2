#!/usr/bin/env bash
# Builds the C libraries the Windows program needs from Debian's own source
# packages with MinGW-w64, static, into PREFIX: libmosquitto (the MQTT
# client) from Debian's mosquitto.
#   tools/windows/build_deps.sh WORKDIR PREFIX
# Each library is built once; delete PREFIX/.built-NAME to build it again.
set -euo pipefail

work=$(realpath -m "$1")
prefix=$(realpath -m "$2")
toolchain=$(realpath "$(dirname "$0")/../../cmake/mingw-w64-x86_64.cmake")
mkdir -p "$work" "$prefix"

source "$(dirname "$0")/../debian_source.sh"

# libmosquitto alone (no broker, clients, C++ wrapper or manuals). Without
# OpenSSL, which Debian does not build for MinGW: no TLS. Its CMake looks for
# a pthreads-win32 at C:\pthreads when threading is on, so threading is
# switched on by the define instead and MinGW's own winpthreads serves it;
# the client publishes from other threads than its loop's.
build_mosquitto() {
  [ -f "$prefix/.built-mosquitto" ] && return 0
  echo "Building libmosquitto for Windows"
  local build="$work/build-mosquitto"
  {
    cmake -S "$work/mosquitto" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
      -DWITH_TLS=OFF -DWITH_THREADING=OFF -DCMAKE_C_FLAGS="-DWITH_THREADING" -DWITH_STATIC_LIBRARIES=ON \
      -DWITH_LIB_CPP=OFF -DWITH_CLIENTS=OFF -DWITH_BROKER=OFF -DWITH_APPS=OFF -DWITH_PLUGINS=OFF \
      -DDOCUMENTATION=OFF -DWITH_CJSON=OFF -DWITH_SRV=OFF &&
      cmake --build "$build" -j "$(nproc)" --target libmosquitto_static &&
      mkdir -p "$prefix/lib" "$prefix/include" "$prefix/share/doc/mosquitto" &&
      cp "$build/lib/libmosquitto_static.a" "$prefix/lib/libmosquitto.a" &&
      cp "$work/mosquitto/include/mosquitto.h" "$work/mosquitto/include/mqtt_protocol.h" "$prefix/include/" &&
      cp "$work/mosquitto/edl-v10" "$work/mosquitto/epl-v20" "$prefix/share/doc/mosquitto/"
  } >"$work/mosquitto.log" 2>&1 || { tail -20 "$work/mosquitto.log"; exit 1; }
  touch "$prefix/.built-mosquitto"
}

fetch_source mosquitto mosquitto
build_mosquitto
