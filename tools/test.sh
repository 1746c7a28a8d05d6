#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite offscreen: once in the normal
# build and once under the address and undefined-behaviour sanitizers; clang-tidy over the sources
# after the normal build (tools/lint.sh; ZELK_SKIP_LINT=1 leaves it out); the Debian package built
# from the normal build and checked installed on this machine (tools/package.sh, tools/packagecheck.sh;
# ZELK_SKIP_PACKAGE=1 leaves it out); then every fuzz target for
# a short budget (ZELK_FUZZ_SECONDS each, default 10; ZELK_SKIP_FUZZ=1 leaves it out).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/setup.sh"
export QT_QPA_PLATFORM=offscreen
BUILD_DIR=$root/build bash "$root/tools/build.sh"
(cd "$root/build" && ctest --output-on-failure -j "$(nproc)")
if [ "${ZELK_SKIP_LINT:-0}" != 1 ]; then
  BUILD_DIR=$root/build bash "$root/tools/lint.sh"
fi
if [ "${ZELK_SKIP_PACKAGE:-0}" != 1 ]; then
  deb=$(BUILD_DIR=$root/build bash "$root/tools/package.sh")
  bash "$root/tools/packagecheck.sh" "$deb"
fi
if [ "${ZELK_SKIP_SANITIZERS:-0}" != 1 ]; then
  BUILD_DIR=$root/build-sanitize BUILD_TYPE=Debug bash "$root/tools/build.sh" -DZELK_SANITIZE=ON -DZELK_BUILD_BENCHMARKS=OFF
  (cd "$root/build-sanitize" && ctest --output-on-failure -j "$(nproc)")
fi
if [ "${ZELK_SKIP_FUZZ:-0}" != 1 ]; then
  bash "$root/tools/fuzz.sh" "${ZELK_FUZZ_SECONDS:-10}"
fi
