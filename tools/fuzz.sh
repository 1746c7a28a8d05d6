#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang and libFuzzer into build-fuzz/ (or FUZZ_BUILD_DIR)
# and runs each for SECONDS (default 60) on a copy of its seed corpus, so that a run leaves the
# repository's corpus as it is. Prints executions and findings per target; exits 1 when any target
# left a crash-, leak-, timeout- or oom- file (kept in build-fuzz/runs/<target>/).
# FUZZ_TARGETS="project catalogue" runs only those; FUZZ_RUNS=N ends each target after N executions
# if that comes before SECONDS; FUZZ_JOBS targets run at once (default: the cores).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
bash "$root/tools/setup.sh" fuzz

launcher=()
if command -v ccache >/dev/null; then
  source "$root/tools/cacheenv.sh"
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DZELK_FUZZ=ON "${launcher[@]}" >/dev/null
cmake --build "$build" --target zelk-fuzzers -j "$(( $(nproc) < 2 ? $(nproc) : 2 ))"

# The targets write their input files into a folder of their own; memory is quicker than disk.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm
# No allocation stacks: unwinding through the system's Qt (built without frame pointers) gives
# garbage frames, so nearly every stack is new and ASan's stack store grew by about 2 KB per
# execution, past libFuzzer's 2 GB limit within a million. A finding replayed without this
# option shows where its memory was allocated and freed.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0}
targets=${FUZZ_TARGETS:-$(cd "$root/fuzz" && ls *_fuzz.cpp | sed 's/_fuzz\.cpp$//')}
# One target to a core: each is a single process, so on two cores two at once take half the time.
jobs=${FUZZ_JOBS:-$(nproc)}
fuzzOne() {
  local name=$1 run=$build/runs/$1 rss=2048
  rm -rf "$run"
  mkdir -p "$run"
  cp -r "$root/fuzz/corpus/$name" "$run/corpus"
  # A workbook under the unpack limit is read within 512 MB; with the sanitizers' own memory on top,
  # one that takes more than 1 GB is a finding (the files that once took 2,5 GB break it).
  [ "$name" = workbook ] && rss=1024
  local rc=0
  (cd "$run" && "$build/${name}_fuzz" -max_total_time="$seconds" -runs="${FUZZ_RUNS:--1}" -timeout=20 -print_final_stats=1 -rss_limit_mb="$rss" \
     -artifact_prefix="$run/" corpus >"$run/log" 2>&1) || rc=$?
  echo "$rc" >"$run/status"
}
running=0
for name in $targets; do
  if ((running >= jobs)); then
    wait -n || true
    running=$((running - 1))
  fi
  fuzzOne "$name" &
  running=$((running + 1))
done
wait || true

status=0
printf '%-16s %12s %8s  %s\n' target executions findings log
for name in $targets; do
  run=$build/runs/$name
  rc=$(cat "$run/status" 2>/dev/null || echo "?")
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$run/log" | tail -1)
  findings=$(find "$run" -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
  printf '%-16s %12s %8s  %s\n' "$name" "${execs:-?}" "$findings" "$run/log"
  if [ "$findings" -ne 0 ] || [ "$rc" != 0 ]; then
    status=1
    find "$run" -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) -printf '  %p\n'
    [ "$findings" -ne 0 ] || echo "  $name ended with status $rc without a finding file; see its log"
  fi
done
exit $status
