#!/usr/bin/env bash
# Builds the C libraries the Windows program needs from Debian's own source
# packages with MinGW-w64, static, into PREFIX: OpenSSL's libssl and
# libcrypto from Debian's openssl (Debian builds it for no Windows), and
# libmosquitto (the MQTT client, with TLS through that OpenSSL) from
# Debian's mosquitto.
#   tools/windows/build_deps.sh WORKDIR PREFIX
# Each library is built once; delete PREFIX/.built-NAME to build it again.
set -euo pipefail

work=$(realpath -m "$1")
prefix=$(realpath -m "$2")
toolchain=$(realpath "$(dirname "$0")/../../cmake/mingw-w64-x86_64.cmake")
mkdir -p "$work" "$prefix"

source "$(dirname "$0")/../debian_source.sh"

# OpenSSL's two libraries alone (no programs, tests or manuals), for TLS
# 1.2 and 1.3 as a client: what a cockpit's broker speaks. The algorithms,
# protocols and parts no TLS client uses are left out to keep the build
# short; no-asm because the few connections need no speed, and its C needs
# no assembler of MinGW's. Windows threads serve it (OpenSSL's own choice on
# mingw64). Its compiler is the prefix and CC: the POSIX-threads MinGW the
# rest is built with. Configure is Perl (IPC::Cmd, in Debian's perl).
build_openssl() {
  [ -f "$prefix/.built-openssl" ] && return 0
  echo "Building OpenSSL for Windows"
  local started=$SECONDS
  (
    cd "$work/openssl" &&
      ./Configure mingw64 --cross-compile-prefix=x86_64-w64-mingw32- CC=gcc-posix --prefix="$prefix" --libdir=lib \
        no-shared no-module no-tests no-asm no-engine no-dso no-legacy no-comp no-dtls no-sctp no-srtp no-ssl3 \
        no-srp no-ct no-cms no-cmp no-ts no-ocb no-siv no-scrypt no-rfc3779 no-nextprotoneg no-ec2m \
        no-aria no-bf no-camellia no-cast no-idea no-md4 no-mdc2 no-rc2 no-rc4 no-rc5 no-seed no-whirlpool \
        no-sm2 no-sm3 no-sm4 no-gost no-capieng no-afalgeng no-padlockeng no-loadereng &&
      make -j "$(nproc)" build_libs &&
      make install_dev &&
      mkdir -p "$prefix/share/doc/openssl" &&
      cp LICENSE.txt "$prefix/share/doc/openssl/"
  ) >"$work/openssl.log" 2>&1 || { tail -20 "$work/openssl.log"; exit 1; }
  echo "OpenSSL built in $((SECONDS - started)) s"
  touch "$prefix/.built-openssl"
}

# libmosquitto alone (no broker, clients, C++ wrapper or manuals), with TLS
# through the OpenSSL above (no PSK: a cockpit's broker is known by its
# certificate), named by its files as CMake's FindOpenSSL calls them for
# MinGW: the toolchain's search stays inside MinGW's root. Its CMake looks
# for a pthreads-win32 at C:\pthreads when threading is on, so threading is
# switched on by the define instead and MinGW's own winpthreads serves it;
# the client publishes from other threads than its loop's.
build_mosquitto() {
  [ -f "$prefix/.built-mosquitto" ] && return 0
  echo "Building libmosquitto for Windows"
  local build="$work/build-mosquitto"
  {
    cmake -S "$work/mosquitto" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
      -DWITH_TLS=ON -DWITH_TLS_PSK=OFF -DOPENSSL_INCLUDE_DIR="$prefix/include" \
      -DSSL_EAY="$prefix/lib/libssl.a" -DLIB_EAY="$prefix/lib/libcrypto.a" \
      -DWITH_THREADING=OFF -DCMAKE_C_FLAGS="-DWITH_THREADING" -DWITH_STATIC_LIBRARIES=ON \
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

fetch_source openssl openssl
build_openssl
fetch_source mosquitto mosquitto
build_mosquitto
