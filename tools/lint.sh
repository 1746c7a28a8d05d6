#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over every first-party source of a configured
# build (BUILD_DIR, default build/, which tools/build.sh configures with a compile database), in
# parallel (LINT_JOBS, default: the cores); prints each finding and exits 1 on any.
# Debian 12's run-clang-tidy always colours its output, which garbles a CI log, so the runs are
# started with xargs -P. The fuzz targets are compiled only in the clang build of tools/fuzz.sh,
# so the normal build's database lacks them; the script names every source it leaves out.
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

# The database's sources below the project folder, without the build folders' generated ones
# (moc, autogen) and each once, the largest first so that no long one starts last; then, after a
# line "--", the project's sources that the database lacks.
mapfile -t listed < <(python3 - "$root" "$database" <<'EOF'
import json, os, subprocess, sys
root, database = os.path.realpath(sys.argv[1]), sys.argv[2]
files = set()
for entry in json.load(open(database)):
    path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
    relative = os.path.relpath(path, root)
    if relative.startswith("..") or relative.split(os.sep)[0].startswith("build") or "_autogen" in relative:
        continue
    files.add(path)
for path in sorted(files, key=lambda p: (-os.path.getsize(p), p)):
    print(path)
print("--")
tracked = subprocess.run(["git", "-C", root, "ls-files", "*.cpp"], capture_output=True, text=True).stdout.split()
for relative in tracked:
    if os.path.join(root, relative) not in files:
        print(relative)
EOF
)
sources=()
missing=()
for ((i = 0; i < ${#listed[@]}; ++i)); do
  if [ "${listed[i]}" = "--" ]; then
    missing=("${listed[@]:i+1}")
    break
  fi
  sources+=("${listed[i]}")
done
if ((${#sources[@]} == 0)); then
  echo "lint: $database holds no source of $root" >&2
  exit 2
fi
((${#missing[@]} == 0)) || echo "lint: not in this build's compile database, so not linted: ${missing[*]}"

echo "lint: clang-tidy over ${#sources[@]} sources, $jobs at a time"
start=$SECONDS
# One clang-tidy per source; its output is printed whole once it ends, so parallel runs do not mix.
status=0
printf '%s\0' "${sources[@]}" | xargs -0 -n 1 -P "$jobs" bash -c '
  out=$("$0" -p "$1" --quiet "$2" 2>&1) && ok=1 || ok=0
  out=$(printf "%s\n" "$out" | grep -v -E "^[0-9]+ (warning|error)s? generated\.$" || true)
  if [ "$ok" = 0 ] || [ -n "$out" ]; then printf "%s\n" "$out"; fi
  [ "$ok" = 1 ]' "$tidy" "$build" || status=1
echo "lint: $((SECONDS - start)) s"
if [ "$status" != 0 ]; then
  echo "lint: findings above (fix them, or suppress one in place with NOLINT(check): reason)" >&2
fi
exit "$status"
