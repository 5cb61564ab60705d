#!/usr/bin/env bash
# Installs what the build needs (once), configures and builds the program
# and lays out its program directory under build/Kestrovane/.
# Re-runnable: packages already present and an up-to-date build cost seconds.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KV_BUILD_DIR:-$here/build}

pkgs=(cmake ninja-build g++ pkg-config qt6-base-dev libsqlite3-dev sqlite3
      libcurl4-openssl-dev libssl-dev openssl libtinyxml2-dev libgtest-dev libgmock-dev
      libcpp-httplib-dev fonts-liberation fonts-wqy-microhei iproute2 util-linux)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build"
