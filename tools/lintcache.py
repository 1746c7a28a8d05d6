#!/usr/bin/env python3
"""Lists what tools/lint.sh has clang-tidy look at: the first-party sources of a compile database
whose pass is not cached, each as two lines (the hash it is cached by, then its path), the largest
first so that no long one starts last; then "#cached N TOTAL"; then, after a line "--", the
project's sources that the database lacks (the fuzz targets, compiled only in the clang build).

A source's hash covers what its findings depend on: clang-tidy's version, .clang-tidy, the compile
flags, the preprocessed text, which holds every header the source includes, and the whole text of
the project's own files among them (so that a NOLINT comment counts). The checkout's and the build folder's paths are left out of it, so
another clone of the project finds the same passes. A pass is an empty file of that name in the
cache folder; those unused for 90 days are removed.

    lintcache.py ROOT DATABASE BUILD CACHE JOBS ALL   (ALL=1: list every source)
    TIDY_VERSION="$(clang-tidy --version)" must be set.
"""
import concurrent.futures
import hashlib
import json
import os
import shlex
import subprocess
import sys
import time

KEEP_SECONDS = 90 * 86400


def main():
    root, database, build, cache, jobs, list_all = sys.argv[1:]
    root, build = os.path.realpath(root), os.path.realpath(build)
    settings = open(os.path.join(root, ".clang-tidy"), "rb").read()
    entries = {}
    for entry in json.load(open(database)):
        path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
        relative = os.path.relpath(path, root)
        if relative.startswith("..") or relative.split(os.sep)[0].startswith("build") or "_autogen" in relative:
            continue  # outside the project, or generated (moc)
        entries.setdefault(path, entry)

    def placeless(text):
        return text.replace(build, "@BUILD@").replace(root, "@ROOT@")

    def key(path):
        entry = entries[path]
        args = entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])
        flags, skip = [], False
        for arg in args[1:]:
            if skip:
                skip = False
            elif arg == "-o":
                skip = True
            elif arg != "-c" and os.path.realpath(os.path.join(entry["directory"], arg)) != path:
                flags.append(arg)
        text = subprocess.run([args[0], *flags, "-E", path], cwd=entry["directory"], check=True,
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
            parts += [placeless(name).encode(), open(name, "rb").read()]
        for part in parts:
            digest.update(hashlib.sha256(part).digest())
        return digest.hexdigest()

    with concurrent.futures.ThreadPoolExecutor(int(jobs)) as pool:
        keys = dict(zip(entries, pool.map(key, entries)))
    cached = 0
    for path in sorted(entries, key=lambda p: (-os.path.getsize(p), p)):
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
        if os.path.join(root, relative) not in entries:
            print(relative)
    now = time.time()
    for name in os.listdir(cache):
        marker = os.path.join(cache, name)
        if now - os.path.getmtime(marker) > KEEP_SECONDS:
            os.remove(marker)


if __name__ == "__main__":
    main()
