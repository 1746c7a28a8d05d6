#!/usr/bin/env bash
# Builds the Debian package zelkfyl_<version>_amd64.deb with cpack from the normal build (BUILD_DIR,
# default build/, RelWithDebInfo, hardened with dpkg-buildflags; cpack strips the programs it packs)
# into BUILD_DIR/package/ and prints its path on standard output. tools/packagecheck.sh checks it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/tools/setup.sh" package >&2
# The programs as the distribution builds its own (cmake/hardening.cmake; the build's default).
BUILD_DIR=$build bash "$root/tools/build.sh" -DZELK_HARDEN=ON >&2
# cpack names what it wrote: "CPack: - package: /…/zelkfyl_1.0.0_amd64.deb generated."
report=$(cd "$build" && cpack -G DEB)
deb=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' <<<"$report")
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
  echo "$report" >&2
  echo "package.sh: cpack wrote no package" >&2
  exit 1
fi
echo "$deb"
