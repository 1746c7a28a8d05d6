#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over every first-party source of a configured
# build (BUILD_DIR, default build/, which tools/build.sh configures with a compile database), in
# parallel (LINT_JOBS, default: the cores); prints each finding and exits 1 on any.
# Debian 12's run-clang-tidy always colours its output, which garbles a CI log, so the runs are
# started with xargs -P. The fuzz targets are compiled only in the clang build of tools/fuzz.sh,
# so the normal build's database lacks them; the script names every source it leaves out.
# A source that passed is not linted again while its preprocessed text, the project files it
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

echo "lint: $total sources, $cached of them unchanged since they passed; clang-tidy over $((${#pending[@]} / 2)), $jobs at a time"
# One clang-tidy per source; its output is printed whole once it ends, so parallel runs do not mix.
# A clean pass is cached.
status=0
if ((${#pending[@]})); then
  printf '%s\0' "${pending[@]}" | xargs -0 -n 2 -P "$jobs" bash -c '
    out=$("$0" -p "$1" --quiet "$4" 2>&1) && ok=1 || ok=0
    out=$(printf "%s\n" "$out" | grep -v -E "^[0-9]+ (warning|error)s? generated\.$" || true)
    if [ "$ok" = 0 ] || [ -n "$out" ]; then printf "%s\n" "$out"; else touch "$2/$3"; fi
    [ "$ok" = 1 ]' "$tidy" "$build" "$cache" || status=1
fi
echo "lint: $((SECONDS - start)) s"
if [ "$status" != 0 ]; then
  echo "lint: findings above (fix them, or suppress one in place with NOLINT(check): reason)" >&2
fi
exit "$status"
