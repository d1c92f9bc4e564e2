#!/usr/bin/env bash
# Builds the C libraries the WebAssembly drawing library needs from Debian's
# own source packages (Emscripten's downloadable ports are not used):
# zlib, libpng, libjpeg-turbo and FreeType, static, into PREFIX.
#   tools/web/build_deps.sh WORKDIR PREFIX
# Each library is built once; delete PREFIX/.built-NAME to build it again.
set -euo pipefail

work=$(realpath -m "$1")
prefix=$(realpath -m "$2")
mkdir -p "$work" "$prefix"

source "$(dirname "$0")/../debian_source.sh"

# emcmake configures with Emscripten's toolchain file; the libraries are
# static and find each other in PREFIX.
build_with_cmake() {
  local name=$1 folder=$2
  shift 2
  [ -f "$prefix/.built-$name" ] && return 0
  echo "Building $name for WebAssembly"
  emcmake cmake -S "$work/$folder" -B "$work/build-$name" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@" >"$work/$name.log" 2>&1 || { tail -20 "$work/$name.log"; exit 1; }
  cmake --build "$work/build-$name" -j "$(nproc)" >>"$work/$name.log" 2>&1 || { tail -20 "$work/$name.log"; exit 1; }
  cmake --install "$work/build-$name" >>"$work/$name.log" 2>&1 || { tail -20 "$work/$name.log"; exit 1; }
  touch "$prefix/.built-$name"
}

export NODE_PATH=/usr/share/nodejs

# zlib's CMake project always makes a shared library too; its own configure
# script builds the static one alone.
build_zlib() {
  [ -f "$prefix/.built-zlib" ] && return 0
  echo "Building zlib for WebAssembly"
  (cd "$work/zlib" && emconfigure ./configure --static --prefix="$prefix" && emmake make -j "$(nproc)" install) \
    >"$work/zlib.log" 2>&1 || { tail -20 "$work/zlib.log"; exit 1; }
  touch "$prefix/.built-zlib"
}

fetch_source zlib zlib
build_zlib

fetch_source libpng1.6 libpng
build_with_cmake png libpng -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include"

# libjpeg-turbo: the library alone (its tools and tests take longer than it),
# without SIMD; its check of size_t's size does not work with Emscripten.
build_jpeg() {
  [ -f "$prefix/.built-jpeg" ] && return 0
  echo "Building jpeg for WebAssembly"
  local build="$work/build-jpeg"
  {
    emcmake cmake -S "$work/libjpeg-turbo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DENABLE_SHARED=OFF \
      -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -DSIZE_T=4 -DHAVE_SIZE_T=TRUE &&
      cmake --build "$build" -j "$(nproc)" --target jpeg-static &&
      mkdir -p "$prefix/lib" "$prefix/include" &&
      cp "$build/libjpeg.a" "$prefix/lib/" &&
      cp "$build/jconfig.h" "$work/libjpeg-turbo/jpeglib.h" "$work/libjpeg-turbo/jmorecfg.h" \
        "$work/libjpeg-turbo/jerror.h" "$prefix/include/"
  } >"$work/jpeg.log" 2>&1 || { tail -20 "$work/jpeg.log"; exit 1; }
  touch "$prefix/.built-jpeg"
}

fetch_source libjpeg-turbo libjpeg-turbo
build_jpeg

fetch_source freetype freetype
# FreeType's gzip support uses the zlib above, not a copy of its own.
build_with_cmake freetype freetype -DFT_REQUIRE_ZLIB=ON -DZLIB_LIBRARY="$prefix/lib/libz.a" \
  -DZLIB_INCLUDE_DIR="$prefix/include" -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON

# The pages' MQTT client: the npm package mqtt at the version its lock file
# names, of which the pages take the browser build alone (PREFIX/js/).
install_mqtt_bundle() {
  local here
  here=$(dirname "$(realpath "$0")")
  if cmp -s "$here/mqtt/package-lock.json" "$work/mqtt/package-lock.json" && [ -f "$prefix/js/mqtt.min.js" ]; then
    return 0
  fi
  echo "Installing the npm package mqtt for the pages"
  mkdir -p "$work/mqtt" "$prefix/js"
  cp "$here/mqtt/package.json" "$here/mqtt/package-lock.json" "$work/mqtt/"
  (cd "$work/mqtt" && npm ci --no-audit --no-fund --loglevel=error) >"$work/mqtt.log" 2>&1 || { tail -20 "$work/mqtt.log"; exit 1; }
  cp "$work/mqtt/node_modules/mqtt/dist/mqtt.min.js" "$work/mqtt/node_modules/mqtt/LICENSE.md" "$prefix/js/"
}
install_mqtt_bundle
