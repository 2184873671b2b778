#!/usr/bin/env python3
"""What redirection adds to the hot synchronisation primitives, and whose it
is. Builds SyncCost and runs it, rounds interleaved, three ways: plain; under
the profiler with the tool as users run it; and under the profiler with the
tool counting calls only (no per-object counts, no lock-order analysis).
Prints per primitive the median nanoseconds per operation plain and
profiled, the added nanoseconds, and how they split:

- the profiler's share: the wrapper (the redirected call, the report calls'
  own cost) and the identity questions the tool asks;
- the tool's share: its counting of each report, its per-object counts and
  its lock-order analysis.

The parts come from figures measured in the same runs: one direct call of the
tool's report entry with no object (plain run), one identity question as the
tool asks it (profiled run: a question from managed code less a call of an
export that does nothing, as the tool asks from native code), and the difference between the two profiled
runs, which differ only in the tool's per-object work and in one identity
question per lock taken."""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))

# What the wrappers do per operation: reports made, and identity questions
# the tool asks with all its work on and with counting only. A lock pair
# reports the request and the taking (Enter) and the release (Exit); the tool
# asks the identity on each entry, and on the taking too when it orders locks.
# Interlocked and Volatile calls name no object.
CALLS = {
    "lock(object)": (3, 3, 2),
    "SemaphoreSlim.Wait+Release": (3, 3, 2),
    "Interlocked.Increment": (1, 0, 0),
    "Volatile.Read": (1, 0, 0),
}
REPORT = "tool report (one call)"
IDENTITY = "identity look-up (one object)"
NATIVE_CALL = "native call (no work)"


def run(command, env=None):
    out = subprocess.run(command, capture_output=True, text=True, env=env)
    if out.returncode != 0:
        sys.exit(f"{' '.join(command)} failed:\n{out.stderr}")
    return {line.rsplit(" ", 1)[0]: float(line.rsplit(" ", 1)[1]) for line in out.stdout.splitlines() if " " in line}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dist", default=os.path.join(HERE, "..", "..", "build", "dist"))
    parser.add_argument("--rounds", type=int, default=5)
    args = parser.parse_args()
    dist = os.path.abspath(args.dist)
    out_dir = tempfile.mkdtemp(prefix="synccost-")
    subprocess.run(["dotnet", "build", os.path.join(HERE, "SyncCost"), "-c", "Release", "--nologo", "-v", "quiet",
                    "-o", out_dir], check=True, capture_output=True)
    program = os.path.join(out_dir, "SyncCost.dll")
    profiled_env = dict(os.environ, VESKTOOL_REPORT=os.path.join(out_dir, "report.json"))
    counting_env = dict(profiled_env, VESKTOOL_OBJECTS="0", VESKTOOL_LOCK_ORDER="0")
    launch = [os.path.join(dist, "veskmrte-run"), "--", "dotnet", program]
    runs = {"plain": ([ "dotnet", program, dist], None), "profiled": (launch, profiled_env),
            "counting": (launch, counting_env)}
    times = {name: {} for name in runs}
    for _ in range(args.rounds):
        for name, (command, env) in runs.items():
            for what, value in run(command, env).items():
                times[name].setdefault(what, []).append(value)
    median = {name: {what: statistics.median(v) for what, v in t.items()} for name, t in times.items()}
    plain, profiled, counting = median["plain"], median["profiled"], median["counting"]
    report = plain.get(REPORT, 0.0)
    identity = profiled.get(IDENTITY, 0.0) - profiled.get(NATIVE_CALL, 0.0)

    print(f"{'primitive':28} {'plain':>7} {'profiled':>9} {'added':>7} {'ratio':>6} {'profiler':>9} "
          f"{'(wrapper':>9} {'identity)':>9} {'tool':>7}")
    for name in plain:
        if name not in profiled or name == REPORT:
            continue
        p, q = plain[name], profiled[name]
        reports, asked, asked_counting = CALLS.get(name, (0, 0, 0))
        tool = reports * report + (q - counting[name]) - (asked - asked_counting) * identity
        ours = (q - p) - tool
        print(f"{name:28} {p:7.1f} {q:9.1f} {q - p:7.1f} {q / p:6.2f} {ours:9.1f} "
              f"{ours - asked * identity:9.1f} {asked * identity:9.1f} {tool:7.1f}")
    print()
    for name in (REPORT,):
        print(f"{name:40} {plain.get(name, 0.0):7.1f}")
    for name in profiled:
        if name not in plain:
            print(f"{name:40} {profiled[name]:7.1f}")
    print(f"(nanoseconds per operation, medians of {args.rounds} rounds)")


if __name__ == "__main__":
    main()
