#!/usr/bin/env python3
"""Runs clang-tidy over the files of src/ in a build folder's compile_commands.json, on every core, and remembers the
files it found nothing in. A file is checked again only when something clang-tidy reads for it has changed: its
content, its compile command, .clang-tidy, clang-tidy itself, or any header it includes (the list read from Ninja's
dependency log; a file without one is always checked). Paths inside the source tree and the build folder are keyed
relative to them, so that clones at other paths share the results.

Usage: tidy-cached.py SOURCE_DIR BUILD_DIR CACHE_DIR JOBS
Prints clang-tidy's output for the files with findings; exit status 1 on any finding."""
import concurrent.futures
import hashlib
import json
import os
import shlex
import subprocess
import sys
import time


def file_digest(path, memo):
    if path not in memo:
        try:
            with open(path, "rb") as f:
                memo[path] = hashlib.sha256(f.read()).hexdigest()
        except OSError:
            memo[path] = "absent"
    return memo[path]


def ninja_deps(build):
    """Object file (relative to the build folder) -> the files it was compiled from, as Ninja recorded them."""
    try:
        out = subprocess.run(["ninja", "-C", build, "-t", "deps"], capture_output=True, text=True, check=True).stdout
    except (OSError, subprocess.CalledProcessError):
        return {}
    deps, current = {}, None
    for line in out.splitlines():
        if line and not line[0].isspace():
            current = line.split(":")[0]
            # A stale record (source newer than the log) does not say what the file includes today.
            deps[current] = None if "STALE" in line else []
        elif line.strip() and current is not None and deps[current] is not None:
            deps[current].append(line.strip())
    return deps


class Keys:
    def __init__(self, source, build, salt):
        self.source, self.build, self.salt = source, build, salt
        self.memo = {}

    def relative(self, text):
        return text.replace(self.build, "<build>").replace(self.source, "<source>")

    def key(self, entry, deps):
        h = hashlib.sha256(self.salt.encode())
        h.update(self.relative(entry["command"]).encode())
        # Sorted by their names inside the tree, so that the order does not depend on where the clone is.
        files = {os.path.normpath(p if os.path.isabs(p) else os.path.join(self.build, p)) for p in deps}
        for name, full in sorted((self.relative(f), f) for f in files | {entry["file"]}):
            h.update(f"\0{name}\0{file_digest(full, self.memo)}".encode())
        return h.hexdigest()


def entries(source, build):
    with open(os.path.join(build, "compile_commands.json")) as f:
        db = json.load(f)
    src = os.path.join(source, "src") + os.sep
    for e in db:
        path = os.path.normpath(os.path.join(e["directory"], e["file"]))
        if path.startswith(src) and "command" in e:
            yield dict(e, file=path)


def output_of(command):
    """The object file a compile command writes (CMake's compile_commands.json says it only from 3.20)."""
    args = shlex.split(command)
    return args[args.index("-o") + 1] if "-o" in args[:-1] else None


def check(build, path):
    run = subprocess.run(["clang-tidy", "-quiet", "-p", build, path], capture_output=True, text=True)
    out = run.stdout + run.stderr
    found = any(w in out for w in ("warning:", "error:")) or run.returncode != 0
    return path, found, out


def main():
    source, build = os.path.realpath(sys.argv[1]), os.path.realpath(sys.argv[2])
    cache, jobs = sys.argv[3], int(sys.argv[4])
    os.makedirs(cache, exist_ok=True)
    version = subprocess.run(["clang-tidy", "--version"], capture_output=True, text=True).stdout
    with open(os.path.join(source, ".clang-tidy"), "rb") as f:
        keys = Keys(source, build, version + f.read().decode())
    deps = ninja_deps(build)
    todo, skipped = {}, 0
    for e in entries(source, build):
        recorded = deps.get(e.get("output") or output_of(e["command"]))
        if recorded is None:
            todo[e["file"]] = None
            continue
        k = keys.key(e, recorded)
        if os.path.exists(os.path.join(cache, k)):
            os.utime(os.path.join(cache, k))
            skipped += 1
        else:
            todo[e["file"]] = k
    findings = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        for path, found, out in pool.map(lambda p: check(build, p), sorted(todo)):
            if found:
                findings += 1
                sys.stdout.write(out)
            elif todo[path]:
                open(os.path.join(cache, todo[path]), "w").close()
    # Results not used for a month are forgotten.
    month = time.time() - 30 * 86400
    for name in os.listdir(cache):
        p = os.path.join(cache, name)
        if os.path.getmtime(p) < month:
            os.remove(p)
    print(f"clang-tidy: {len(todo)} files checked, {skipped} unchanged since a clean check")
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
