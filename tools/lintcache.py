#!/usr/bin/env python3
"""Lists what tools/lint.sh has clang-tidy look at, and writes the compile database it looks with.

clang-tidy spends most of a source's time on the headers it includes (Qt's above all), not on the
source. So the sources of one folder of one target (same compile flags) are linted a few at a time, as a unit
that includes them: the headers are read and matched once per unit. The test groups are compiled
that way already (CMake's unity build), and their units are taken as they are; for the others a
unit is written into BUILD/lint/units/. BUILD/lint/compile_commands.json holds every unit and every
source linted alone. tools/lint.sh lints a unit that does not compile (two of its sources clash
when put together) source by source.

Printed: each unit or source whose pass is not cached as two lines (the hash it is cached by, then
its path), the largest first so that no long one starts last; then "#cached N TOTAL"; then, after
a line "--", the project's sources that the database lacks (the fuzz targets, compiled only in
the clang build).

A hash covers what the findings depend on: clang-tidy's version, .clang-tidy, the compile flags,
the preprocessed text, which holds every header included, and the whole text of the project's own
files among them (so that a NOLINT comment counts). The checkout's and the build folder's paths are
left out of it, so another clone of the project finds the same passes. A pass is an empty file of
that name in the cache folder; those unused for 90 days are removed.

    lintcache.py ROOT DATABASE BUILD CACHE JOBS ALL   (ALL=1: list every unit and source)
    TIDY_VERSION="$(clang-tidy --version)" must be set.
"""
import concurrent.futures
import hashlib
import json
import os
import re
import shlex
import subprocess
import sys
import time

KEEP_SECONDS = 90 * 86400
# A unit CMake's unity build makes of several test groups; it is linted as it is compiled, and
# tools/lint.sh reports the findings in the groups it includes.
UNITY = re.compile(r"/Unity/unity_[0-9]+_cxx\.cxx$")


# Sources linted together in one unit: more saves less and makes a changed source relint more.
UNIT_SIZE = 8


def compileFlags(entry, path):
    """The compiler and its flags for `path`, without the source, the object and -c."""
    args = entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])
    flags, skip = [], False
    for arg in args[1:]:
        if skip:
            skip = False
        elif arg == "-o":
            skip = True
        elif arg != "-c" and os.path.realpath(os.path.join(entry["directory"], arg)) != path:
            flags.append(arg)
    return args[0], flags


def main():
    root, database, build, cache, jobs, list_all = sys.argv[1:]
    root, build = os.path.realpath(root), os.path.realpath(build)
    settings = open(os.path.join(root, ".clang-tidy"), "rb").read()
    entries = {}
    covered = set()  # the sources linted as part of a unit
    weight = {}  # what a unit's or source's lint costs, roughly: the size of the text it lints
    alone = {}  # the first-party sources, by their target's compile flags
    for entry in json.load(open(database)):
        path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
        if UNITY.search(path):
            parts = [os.path.realpath(p) for p in re.findall(r'^#include "([^"]+)"', open(path).read(), re.M)]
            if parts and all(not os.path.relpath(p, root).startswith("..") for p in parts):
                covered.update(parts)
                entries.setdefault(path, entry)
                weight[path] = sum(os.path.getsize(p) for p in parts)
            continue
        relative = os.path.relpath(path, root)
        if relative.startswith("..") or relative.split(os.sep)[0].startswith("build") or "_autogen" in relative:
            continue  # outside the project, or generated (moc)
        compiler, flags = compileFlags(entry, path)
        # A unit takes the sources of one folder of one target: they are written to live together.
        alone.setdefault((entry["directory"], compiler, tuple(flags), os.path.dirname(path)), {}).setdefault(path, entry)

    units = os.path.join(build, "lint", "units")
    os.makedirs(units, exist_ok=True)
    written = set()
    for (directory, compiler, flags, _), sources in alone.items():
        paths = sorted(sources)
        for first in range(0, len(paths), UNIT_SIZE):
            parts = paths[first:first + UNIT_SIZE]
            if len(parts) == 1:
                entries.setdefault(parts[0], sources[parts[0]])
                continue
            text = "// Sources linted together; written by tools/lintcache.py.\n" + \
                "".join(f'#include "{p}"\n' for p in parts)
            name = hashlib.sha256("".join(os.path.relpath(p, root) + "\n" for p in parts).encode()).hexdigest()[:16]
            unit = os.path.join(units, f"unit_{name}.cpp")
            if not os.path.exists(unit) or open(unit).read() != text:
                with open(unit, "w") as f:
                    f.write(text)
            written.add(unit)
            entries[unit] = {"directory": directory, "file": unit,
                             "arguments": [compiler, *flags, "-c", unit]}
            weight[unit] = sum(os.path.getsize(p) for p in parts)
            covered.update(parts)
    for name in os.listdir(units):
        if os.path.join(units, name) not in written:
            os.remove(os.path.join(units, name))
    with open(os.path.join(build, "lint", "compile_commands.json"), "w") as f:
        json.dump(list(entries.values()), f, indent=1)

    def placeless(text):
        return text.replace(build, "@BUILD@").replace(root, "@ROOT@")

    def key(path):
        entry = entries[path]
        compiler, flags = compileFlags(entry, path)
        text = subprocess.run([compiler, *flags, "-E", path], cwd=entry["directory"], check=True,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout.decode("utf-8", "surrogateescape")
        # The preprocessor drops comments, and so the suppressions; the project's own files it read
        # (named by its line markers) are hashed whole for them. Keeping the comments of every
        # header instead (-C) took eight times as long.
        marked = {line.split('"')[1] for line in text.splitlines() if line.startswith("# ") and '"' in line}
        own = sorted(name for name in marked if name.startswith(root + os.sep) and os.path.isfile(name))
        digest = hashlib.sha256()
        parts = [os.environ["TIDY_VERSION"].encode(), settings, placeless(shlex.join(flags)).encode(),
                 placeless(path).encode(), placeless(text).encode("utf-8", "surrogateescape")]
        for name in own:
            content = open(name, "rb").read()
            if name.startswith(build + os.sep):  # written by the build or for the lint: names the checkout
                content = placeless(content.decode("utf-8", "surrogateescape")).encode("utf-8", "surrogateescape")
            parts += [placeless(name).encode(), content]
        for part in parts:
            digest.update(hashlib.sha256(part).digest())
        return digest.hexdigest()

    with concurrent.futures.ThreadPoolExecutor(int(jobs)) as pool:
        keys = dict(zip(entries, pool.map(key, entries)))
    cached = 0
    for path in sorted(entries, key=lambda p: (-weight.get(p, os.path.getsize(p)), p)):
        marker = os.path.join(cache, keys[path])
        if list_all != "1" and os.path.exists(marker):
            os.utime(marker)  # in use: kept
            cached += 1
            continue
        print(keys[path])
        print(path)
    print(f"#cached {cached} {len(entries)}")
    print("--")
    tracked = subprocess.run(["git", "-C", root, "ls-files", "*.cpp"], capture_output=True, text=True).stdout.split()
    for relative in tracked:
        if os.path.join(root, relative) not in entries and os.path.join(root, relative) not in covered:
            print(relative)
    now = time.time()
    for name in os.listdir(cache):
        marker = os.path.join(cache, name)
        if now - os.path.getmtime(marker) > KEEP_SECONDS:
            os.remove(marker)


if __name__ == "__main__":
    main()
