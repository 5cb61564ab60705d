#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test inside a private
# network namespace that holds only loopback.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KV_BUILD_DIR:-$here/build}
"$here/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
cd "$build"
# Every test executable isolates itself in a namespace of its own (tests/CMakeLists.txt).
exec ctest --output-on-failure --timeout 300 -j2 "$@"
