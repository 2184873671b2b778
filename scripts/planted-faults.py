#!/usr/bin/env python3
"""Plants known faults, one at a time, and checks that the test suite catches each.

Each fault in scripts/planted-faults/*.list is a block of "key: value" lines:

    fault:   short-name
    guards:  what goes wrong for users when this code is wrong
    file:    src/... (relative to the repository)
    find:    text that occurs exactly once in the file
    replace: what it becomes (may be empty)
    tests:   ctest -R pattern of the tests that must catch it

A fault is applied to a scratch copy of the repository (never to the working
tree), the scratch build is brought up to date, and the named tests are run:
any failing test means "caught". A fault whose text is not found exactly once,
or that does not compile, is reported as broken: the list must be mended.

Usage: scripts/planted-faults.py [--only REGEX] [--scratch DIR] [--jobs N]
Exit status: 0 when every fault is caught, 1 otherwise.
"""
import argparse
import filecmp
import glob
import os
import re
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
KEYS = ("fault", "guards", "file", "find", "replace", "tests")


def parse(path):
    faults, block = [], {}
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines() + [""]
    for number, line in enumerate(lines, 1):
        if not line.strip():
            if block:
                missing = [k for k in KEYS if k not in block]
                if missing:
                    sys.exit("%s:%d: fault lacks %s" % (path, number, ", ".join(missing)))
                faults.append(block)
                block = {}
            continue
        if line.startswith("#"):
            continue
        key, sep, value = line.partition(":")
        if not sep or key not in KEYS:
            sys.exit("%s:%d: expected one of %s" % (path, number, ", ".join(KEYS)))
        value = value.strip()
        # "\n" in find/replace stands for a line break, so a fault may span lines.
        block[key] = value.replace("\\n", "\n") if key in ("find", "replace") else value
    return faults


def sync_scratch(scratch):
    """Mirrors the repository's files into scratch/src, touching only files that
    changed, so the scratch build stays incremental between runs."""
    files = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=ROOT,
                           check=True, capture_output=True).stdout.decode().split("\0")
    files = {f for f in files if f and os.path.isfile(os.path.join(ROOT, f))}
    dest = os.path.join(scratch, "src")
    for name in files:
        source, target = os.path.join(ROOT, name), os.path.join(dest, name)
        if os.path.isfile(target) and filecmp.cmp(source, target, shallow=False):
            continue
        os.makedirs(os.path.dirname(target), exist_ok=True)
        # A fresh time stamp: the source's own may be older than the scratch
        # build's outputs, which would then not be rebuilt.
        shutil.copy(source, target)
    for d, dirs, names in os.walk(dest):
        dirs[:] = [x for x in dirs if x not in ("bin", "obj")]  # the SDK's in-tree outputs
        for n in names:
            path = os.path.join(d, n)
            if os.path.relpath(path, dest) not in files:
                os.remove(path)


def run(cmd, cwd, log):
    with open(log, "w") as out:
        return subprocess.run(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT).returncode


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--only", default="", help="regex: run only faults whose name matches")
    parser.add_argument("--scratch", default="/tmp/planted-faults")
    parser.add_argument("--jobs", default=str(os.cpu_count() or 2))
    args = parser.parse_args()

    faults = []
    for path in sorted(glob.glob(os.path.join(ROOT, "scripts/planted-faults/*.list"))):
        faults += parse(path)
    names = [f["fault"] for f in faults]
    dupes = sorted({n for n in names if names.count(n) > 1})
    if dupes:
        sys.exit("fault names used twice: " + ", ".join(dupes))
    faults = [f for f in faults if re.search(args.only, f["fault"])]

    sync_scratch(args.scratch)
    src, build = os.path.join(args.scratch, "src"), os.path.join(args.scratch, "build")
    logs = os.path.join(args.scratch, "logs")
    os.makedirs(logs, exist_ok=True)
    if run(["cmake", "-S", src, "-B", build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
            "-DVESK_BENCH=OFF"], src, os.path.join(logs, "configure.log")) != 0:
        sys.exit("configure failed: see %s/configure.log" % logs)
    build_cmd = ["cmake", "--build", build, "-j", args.jobs]
    if run(build_cmd, src, os.path.join(logs, "build.log")) != 0:
        sys.exit("the unchanged sources do not build: see %s/build.log" % logs)

    results = []
    for fault in faults:
        name, path = fault["fault"], os.path.join(src, fault["file"])
        log = os.path.join(logs, name + ".log")
        with open(path, encoding="utf-8") as f:
            original = f.read()
        if original.count(fault["find"]) != 1:
            results.append((name, "broken: find text occurs %d times" % original.count(fault["find"])))
        else:
            try:
                with open(path, "w", encoding="utf-8") as f:
                    f.write(original.replace(fault["find"], fault["replace"]))
                if run(build_cmd, src, log) != 0:
                    results.append((name, "broken: does not build (%s)" % log))
                else:
                    failed = run(["ctest", "-R", fault["tests"], "--timeout", "300",
                                  "-j", args.jobs], build, log)
                    results.append((name, "caught" if failed else "MISSED"))
            finally:
                with open(path, "w", encoding="utf-8") as f:
                    f.write(original)
        print("%-8s %s" % (results[-1][1].split(":")[0], name), flush=True)

    missed = [r for r in results if r[1] != "caught"]
    print("\n%d faults, %d caught" % (len(results), len(results) - len(missed)))
    for name, outcome in missed:
        print("  %s: %s" % (name, outcome))
    # Leave the scratch build as the sources are, so the next run starts clean.
    run(build_cmd, src, os.path.join(logs, "build.log"))
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
