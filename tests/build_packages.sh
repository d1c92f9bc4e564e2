#!/usr/bin/env bash
# Each verb of build.sh installs what its own build reads from the machine:
# every system header the native build compiled (its dependency files), and
# every host file or program the browser's and the Windows build name, is
# owned by a package of that verb's list or by one those depend on. A verb
# that leans on a package only another verb installs builds on this machine
# and fails on a fresh one.
#   tests/build_packages.sh SOURCE_DIR BUILD_DIR [WINDOWS_BUILD_DIR]
set -euo pipefail
src=$(realpath "$1")
build=$(realpath "$2")
windows_build=${3:-}

eval "$(sed -n '/^PACKAGES=(/,/^)/p;/^WINDOWS_PACKAGES=(/,/^)/p;/^WEB_PACKAGES=(/,/^)/p' "$src/build.sh")"
[ ${#PACKAGES[@]} -gt 0 ] && [ ${#WEB_PACKAGES[@]} -gt 0 ] && [ ${#WINDOWS_PACKAGES[@]} -gt 0 ] ||
  { echo "build.sh: the package lists were not found"; exit 1; }

# The installed packages reachable from the given ones through Depends and
# Pre-Depends (every installed alternative counts), one a line.
closure() {
  declare -A seen=()
  local level=("$@") next name
  while [ ${#level[@]} -gt 0 ]; do
    next=()
    for name in "${level[@]}"; do seen[$name]=1; done
    while IFS= read -r name; do
      [ -n "$name" ] && [ -z "${seen[$name]:-}" ] && next+=("$name") && seen[$name]=1
    done < <(dpkg-query -W -f='${Depends}, ${Pre-Depends}\n' "${level[@]}" 2>/dev/null |
      tr ',|' '\n\n' | sed -e 's/([^)]*)//g' -e 's/:[a-z0-9]*//g' -e 's/ //g' | sort -u)
    level=("${next[@]}")
  done
  printf '%s\n' "${!seen[@]}"
}

# Prints "PATH<TAB>PACKAGE" for each owner of each path, in one pass over
# dpkg's database; a path no package names is looked up once more with its
# symbolic links resolved (/lib and /usr/lib are one), then printed with no
# owner.
owners() {
  declare -A owned=()
  local line path pkgs p
  while IFS= read -r line; do
    path=${line#*: }
    pkgs=${line%%: *}
    for p in ${pkgs//,/ }; do
      printf '%s\t%s\n' "$path" "${p%%:*}"
      owned[$path]=1
    done
  done < <(dpkg -S "$@" 2>/dev/null | grep -v '^diversion')
  local unowned=() real
  for path in "$@"; do [ -n "${owned[$path]:-}" ] || unowned+=("$path"); done
  for path in "${unowned[@]}"; do
    real=$(realpath -m "$path")
    line=$(dpkg -S "$real" 2>/dev/null | grep -v '^diversion' | grep -m1 ": $real\$" || true)
    if [ -z "$line" ]; then
      printf '%s\t\n' "$path"
      continue
    fi
    pkgs=${line%%: *}
    for p in ${pkgs//,/ }; do printf '%s\t%s\n' "$path" "${p%%:*}"; done
  done
}

# What every Debian machine has: the packages of priority required.
base_packages() {
  dpkg-query -W -f='${Package} ${Priority} ${Essential}\n' | awk '$2 == "required" || $3 == "yes" { print $1 }'
}

failures=0

# Checks that each path is owned by a package of the closure of the list.
check_verb() {
  local verb=$1 list_name=$2
  shift 2
  local -n list=$list_name
  declare -A allowed=() ok=() from=()
  local p path owner
  while IFS= read -r p; do allowed[$p]=1; done < <(closure "${list[@]}" $(base_packages))
  while IFS=$'\t' read -r path owner; do
    [ -n "$owner" ] && [ -n "${allowed[$owner]:-}" ] && ok[$path]=1
    from[$path]="${from[$path]:+${from[$path]}, }${owner:-no package}"
  done < <(owners "$@")
  local missing=0
  for path in "$@"; do
    if [ -z "${ok[$path]:-}" ]; then
      echo "$verb: $path comes from ${from[$path]}, which $list_name in build.sh does not install"
      missing=$((missing + 1))
    fi
  done
  echo "$verb: $# host files checked, $missing not installed by the verb"
  [ "$missing" -eq 0 ] || failures=$((failures + 1))
}

# The system files a build's compiler read, from its dependency files; the
# tests' own builds under test-output (a page built with Emscripten) are not
# the verb's.
compiled_headers() {
  find "$1" -path "$1/test-output" -prune -o -name '*.o.d' -print0 | xargs -0 cat | tr ' \\' '\n\n' | grep '^/' |
    grep -v -e "^$src/" -e "^$1/" | sort -u
}

# The absolute host paths the given build files name, and the programs run.
named_paths() {
  grep -ohE '/usr/[A-Za-z0-9_.+/-]*[A-Za-z0-9_+]' "$@" | grep -v '^/usr/bin/env$' | sort -u
}

# Debian's programs are in /usr/bin; one a user put in /usr/local/bin is
# not what a fresh machine has.
programs() {
  local program
  for program in "$@"; do echo "/usr/bin/$program"; done
}

mapfile -t native < <(compiled_headers "$build")
[ ${#native[@]} -gt 50 ] || { echo "$build: no dependency files of a compiled build"; exit 1; }
check_verb "run, test, sanitize, fuzz, soak" PACKAGES "${native[@]}"

mapfile -t web < <(named_paths "$src/cmake/web_build.cmake" "$src/tools/web/build_deps.sh" \
  "$src/app/web/CMakeLists.txt" "$src/tests/web/"*.mjs "$src/tests/web/CMakeLists.txt" "$src/tools/debian_source.sh"
  programs cmake make emcmake emconfigure emmake node npm dpkg-source xz apt-get wasm-dis)
check_verb web WEB_PACKAGES "${web[@]}"

WINDOWS_VERB=("${PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}")
mapfile -t windows < <(named_paths "$src/cmake/mingw-w64-x86_64.cmake" "$src/tests/windows/CMakeLists.txt" \
  "$src/tests/windows/wine_run.sh" "$src/tools/windows/build_deps.sh" "$src/tools/debian_source.sh"
  programs x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-gcc-posix perl xvfb-run xdotool convert dpkg-source xz apt-get mosquitto_sub openbox xprop
  [ -n "$windows_build" ] && [ -d "$windows_build" ] && compiled_headers "$(realpath "$windows_build")")
check_verb windows WINDOWS_VERB "${windows[@]}"

[ "$failures" -eq 0 ]
