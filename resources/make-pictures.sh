#!/usr/bin/env bash
# Redraws the pictures of resources/UI/ from MakePictures.cpp. Run it after
# changing a picture, then commit the PNGs; the build copies them into the
# program directory's Resources/UI/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KV_BUILD_DIR:-$here/build}
cmake --build "$build" --target kestrovane-pictures
QT_QPA_PLATFORM=offscreen "$build/kestrovane-pictures" "$here/resources/UI"
