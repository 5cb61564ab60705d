#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program from its program
# directory build/Kestrovane/ inside a private network namespace.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${KV_BUILD_DIR:-$here/build}
"$here/scripts/setup.sh"
exec "$here/scripts/netns-run" "$build/Kestrovane/kestrovane" "$@"
