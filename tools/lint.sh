#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over every first-party source of a configured
# build (BUILD_DIR, default build/, which tools/build.sh configures with a compile database), in
# parallel (LINT_JOBS, default: the cores); prints each finding and exits 1 on any.
# Debian 12's run-clang-tidy always colours its output, which garbles a CI log, so the runs are
# started with xargs -P. The fuzz targets are compiled only in the clang build of tools/fuzz.sh,
# so the normal build's database lacks them; the script names every source it leaves out.
# The sources of a target are linted eight at a time as one unit (tools/lintcache.py, below).
# A unit or source that passed is not linted again while its preprocessed text, the project files it
# includes (comments too, so that a NOLINT counts), its compile flags, .clang-tidy and clang-tidy's
# version stay as they were: each pass is kept as an empty file named by their hash
# (tools/lintcache.py) in $XDG_CACHE_HOME/zelkfyl/clang-tidy (~/.cache without it; LINT_CACHE names
# another folder), outside the checkout, so that another clone finds it too. ZELK_LINT_ALL=1 lints
# every source all the same.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
jobs=${LINT_JOBS:-$(nproc)}
database=$build/compile_commands.json
if [ ! -f "$database" ]; then
  echo "lint: $database is missing; configure the build first (tools/build.sh)" >&2
  exit 2
fi
tidy=$(command -v clang-tidy-14 || command -v clang-tidy || true)
if [ -z "$tidy" ]; then
  echo "lint: clang-tidy is not installed (bash tools/setup.sh installs it)" >&2
  exit 2
fi

cache=${LINT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zelkfyl/clang-tidy}
mkdir -p "$cache"
start=$SECONDS
listing=$(TIDY_VERSION="$("$tidy" --version)" python3 "$root/tools/lintcache.py" "$root" "$database" "$build" \
          "$cache" "$jobs" "${ZELK_LINT_ALL:-0}")
mapfile -t listed <<<"$listing"
pending=()
missing=()
cached=0
total=0
for ((i = 0; i < ${#listed[@]}; ++i)); do
  if [[ "${listed[i]}" == "#cached "* ]]; then
    read -r _ cached total <<<"${listed[i]}"
  elif [ "${listed[i]}" = "--" ]; then
    missing=("${listed[@]:i+1}")
    break
  else
    pending+=("${listed[i]}")
  fi
done
if ((total == 0)); then
  echo "lint: $database holds no source of $root" >&2
  exit 2
fi
((${#missing[@]} == 0)) || echo "lint: not in this build's compile database, so not linted: ${missing[*]}"

echo "lint: $total units and sources, $cached of them unchanged since they passed; clang-tidy over $((${#pending[@]} / 2)), $jobs at a time"
# One clang-tidy per unit or source; its output is printed whole once it ends, so parallel runs do
# not mix. A clean pass is cached.
# A unit (tools/lintcache.py: several sources of one target, which clang-tidy reads as one) reports
# the findings in its sources as a header's would be (the filter of .clang-tidy, for .cpp too); the
# analyzer looks into every function outside the system's headers, not only the unit's own; and
# the unit's #include of a .cpp is what it is made of, not a suspicious include. A unit written for
# the lint that does not compile (two of its sources clash when put together) is linted source by
# source from the build's own database.
headers=$(sed -n "s/^HeaderFilterRegex: '\(.*\)'$/\1/p" "$root/.clang-tidy")
filter=${headers%'\.h$'}'\.(h|cpp)$'
if [ "$filter" = "$headers"'\.(h|cpp)$' ]; then
  echo "lint: .clang-tidy has no HeaderFilterRegex ending in \\.h\$ to widen for units" >&2
  exit 2
fi
export ZELK_UNIT_FILTER=$filter ZELK_TIDY=$tidy ZELK_BUILD=$build
tidyOne() { # DATABASE-FOLDER SOURCE [OPTIONS]: prints the findings; fails on any
  local out ok
  out=$("$ZELK_TIDY" -p "$1" --quiet "${@:3}" "$2" 2>&1) && ok=1 || ok=0
  out=$(printf "%s\n" "$out" | grep -v -E "^[0-9]+ (warning|error)s? generated\.$" || true)
  [ -z "$out" ] || printf "%s\n" "$out"
  [ "$ok" = 1 ] && [ -z "$out" ]
}
export -f tidyOne
status=0
if ((${#pending[@]})); then
  printf '%s\0' "${pending[@]}" | xargs -0 -n 2 -P "$jobs" bash -c '
    unit=(--header-filter="$ZELK_UNIT_FILTER" --checks=-bugprone-suspicious-include
          --extra-arg=-Xclang --extra-arg=-analyzer-opt-analyze-headers)
    case "$2" in
      */lint/units/unit_*.cpp)
        out=$(tidyOne "$ZELK_BUILD/lint" "$2" "${unit[@]}") && ok=1 || ok=0
        if [ "$ok" = 0 ] && grep -q "clang-diagnostic-error" <<<"$out"; then
          ok=1
          out=""
          while read -r part; do
            out+=$(tidyOne "$ZELK_BUILD" "$part") || ok=0
          done < <(sed -n "s/^#include \"\(.*\)\"$/\1/p" "$2")
        fi ;;
      */Unity/unity_*_cxx.cxx) out=$(tidyOne "$ZELK_BUILD/lint" "$2" "${unit[@]}") && ok=1 || ok=0 ;;
      *) out=$(tidyOne "$ZELK_BUILD/lint" "$2") && ok=1 || ok=0 ;;
    esac
    [ -z "$out" ] || printf "%s\n" "$out"
    [ "$ok" = 0 ] || touch "$0/$1"
    [ "$ok" = 1 ]' "$cache" || status=1
fi
echo "lint: $((SECONDS - start)) s"
if [ "$status" != 0 ]; then
  echo "lint: findings above (fix them, or suppress one in place with NOLINT(check): reason)" >&2
fi
exit "$status"
