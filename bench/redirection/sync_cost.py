#!/usr/bin/env python3
"""What redirection adds to the hot synchronisation primitives, and whose it
is. Builds SyncCost and runs it, rounds interleaved, three ways: plain; under
the profiler with the tool as users run it; and under the profiler with the
tool counting calls only (no per-object counts, no lock-order analysis).
Prints per primitive the median nanoseconds per operation plain and
profiled, the added nanoseconds, and how they split:

- the profiler's share: the wrapper (the redirected call and the report
  calls' own cost) and the identity questions the tool asks;
- the tool's share: its counting of each report, its per-object counts and
  its lock-order analysis.

Each profiled run also times, in the same process, one direct call of the
tool's report entry with no object (the tool's counting of one report) and
one identity question (less a call of an export that does nothing, as the
tool asks from native code). Per round, the counting run less the plain run
less its reports' counting is the profiler's share; the rest of what the
full run adds is the tool's. The split is computed per round and the median
taken, so that the load of a shared machine, which shifts whole runs, cancels
as far as it can.
"""

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
# asks the identity on each entry, and for the taking, which only the
# lock-order analysis needs, reuses the request's answer. An await of a
# completed task reports before and after GetResult, naming the task.
# Interlocked and Volatile calls name no object.
CALLS = {
    "lock(object)": (3, 2, 2),
    "lock(Lock)": (3, 2, 2),
    "await completed task": (2, 1, 1),
    "SemaphoreSlim.Wait+Release": (3, 2, 2),
    "Interlocked.Increment": (1, 0, 0),
    "Volatile.Read": (1, 0, 0),
}
REPORT = "tool report (one call)"
IDENTITY = "identity look-up (one object)"
NATIVE_CALL = "native call (no work)"
MANY = "identity look-up (64 objects in turn)"


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
    launch = [os.path.join(dist, "veskmrte-run"), "--", "dotnet", program, dist]
    runs = {"plain": (["dotnet", program, dist], None), "profiled": (launch, profiled_env),
            "counting": (launch, counting_env)}
    rounds = []
    for _ in range(args.rounds):
        rounds.append({name: run(command, env) for name, (command, env) in runs.items()})

    def median(values):
        return statistics.median(values) if values else float("nan")

    rows = []
    for name in rounds[0]["plain"]:
        if name not in rounds[0]["profiled"] or name == REPORT:
            continue
        reports, asked, asked_counting = CALLS.get(name, (0, 0, 0))
        split = {"plain": [], "profiled": [], "ours": [], "identity": [], "tool": []}
        for r in rounds:
            a, b, c = r["plain"][name], r["profiled"][name], r["counting"][name]
            identity = r["counting"][IDENTITY] - r["counting"][NATIVE_CALL]
            extra_identity = (asked - asked_counting) * identity
            ours = (c - a) - reports * r["counting"][REPORT] + extra_identity
            split["plain"].append(a)
            split["profiled"].append(b)
            split["ours"].append(ours)
            split["identity"].append(asked * identity)
            split["tool"].append((b - a) - ours)
        rows.append((name, {k: median(v) for k, v in split.items()}))

    print(f"{'primitive':28} {'plain':>7} {'profiled':>9} {'added':>7} {'ratio':>6} {'profiler':>9} "
          f"{'(wrapper':>9} {'identity)':>9} {'tool':>7}")
    for name, m in rows:
        p, q = m["plain"], m["profiled"]
        print(f"{name:28} {p:7.1f} {q:9.1f} {q - p:7.1f} {q / p:6.2f} {m['ours']:9.1f} "
              f"{m['ours'] - m['identity']:9.1f} {m['identity']:9.1f} {m['tool']:7.1f}")
    print()
    for name in (REPORT, NATIVE_CALL, IDENTITY, MANY):
        values = {config: median([r[config][name] for r in rounds if name in r[config]])
                  for config in ("plain", "profiled", "counting")}
        print(f"{name:40} " + " ".join(f"{config} {value:6.1f}" for config, value in values.items()
                                       if value == value))
    print(f"(nanoseconds per operation in the thread's processor time, medians of {args.rounds} rounds)")


if __name__ == "__main__":
    main()
