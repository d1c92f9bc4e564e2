# Fetches and unpacks Debian's own source packages for the cross builds of
# the C libraries (tools/web/build_deps.sh, tools/windows/build_deps.sh),
# through a private deb-src list, so that the machine's apt configuration
# stays as it is. Sourced; needs $work set to the working folder.
#   fetch_source PACKAGE FOLDER   unpacks PACKAGE into $work/FOLDER (once)

apt_dir="$work/apt"
apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=/nonexistent"
  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o "APT::Sandbox::User=root")

fetch_source() {
  local package=$1 folder=$2
  [ -d "$work/$folder" ] && return 0
  if [ ! -f "$apt_dir/lists/.updated" ]; then
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    echo "deb-src http://deb.debian.org/debian bookworm main" >"$apt_dir/sources.list"
    apt-get "${apt_options[@]}" update -qq
    touch "$apt_dir/lists/.updated"
  fi
  local download="$work/download-$package"
  mkdir -p "$download"
  (cd "$download" && apt-get "${apt_options[@]}" source --download-only -qq "$package")
  dpkg-source --no-check -x "$download"/*.dsc "$work/$folder" >/dev/null
}
