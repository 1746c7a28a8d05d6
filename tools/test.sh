#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite offscreen: once in the normal
# build and once under the address and undefined-behaviour sanitizers; clang-tidy over the sources
# after the normal build (tools/lint.sh; ZELK_SKIP_LINT=1 leaves it out); the Debian package built
# from the normal build and checked installed on this machine (tools/package.sh, tools/packagecheck.sh;
# ZELK_SKIP_PACKAGE=1 leaves it out); then every fuzz target for
# a short budget (ZELK_FUZZ_SECONDS each, default 10; ZELK_SKIP_FUZZ=1 leaves it out).
# Compiled objects (ccache) and clean lint results are cached in the user's cache home
# ($XDG_CACHE_HOME, else ~/.cache), so that a later run, also from another clone, redoes only what
# changed. Each phase ends with a line "test.sh: PHASE: … s wall, … s user, … s system".
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
start=$SECONDS
bash "$root/tools/setup.sh" # brings /usr/bin/time, with which the phases are timed
echo "test.sh: setup: $((SECONDS - start)) s wall"
phase() {
  local name=$1
  shift
  /usr/bin/time -f "test.sh: $name: %e s wall, %U s user, %S s system" "$@"
}
export QT_QPA_PLATFORM=offscreen
BUILD_DIR=$root/build phase build bash "$root/tools/build.sh"
phase ctest ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
if [ "${ZELK_SKIP_LINT:-0}" != 1 ]; then
  BUILD_DIR=$root/build phase lint bash "$root/tools/lint.sh"
fi
if [ "${ZELK_SKIP_PACKAGE:-0}" != 1 ]; then
  deb=$(BUILD_DIR=$root/build phase package bash "$root/tools/package.sh")
  phase packagecheck bash "$root/tools/packagecheck.sh" "$deb"
fi
if [ "${ZELK_SKIP_SANITIZERS:-0}" != 1 ]; then
  BUILD_DIR=$root/build-sanitize BUILD_TYPE=Debug phase sanitize-build \
    bash "$root/tools/build.sh" -DZELK_SANITIZE=ON -DZELK_BUILD_BENCHMARKS=OFF
  phase sanitize-ctest ctest --test-dir "$root/build-sanitize" --output-on-failure -j "$(nproc)"
fi
if [ "${ZELK_SKIP_FUZZ:-0}" != 1 ]; then
  phase fuzz bash "$root/tools/fuzz.sh" "${ZELK_FUZZ_SECONDS:-10}"
fi
echo "test.sh: all: $((SECONDS - start)) s wall"
