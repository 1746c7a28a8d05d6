#!/usr/bin/env bash
# Installs what is missing, builds, and starts ZELK FYL in its program directory.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/setup.sh"
bash "$root/tools/build.sh"
cd "${BUILD_DIR:-$root/build}/program"
exec ../zelkfyl
