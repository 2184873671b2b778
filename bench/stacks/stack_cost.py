"""What one stack capture costs at the bottom of a 20-frame managed stack,
side by side with `new System.Diagnostics.StackTrace(false)` at the same
depth in the same process.

StackBench times a lock at that depth; its report makes the tool walk the
stack (VESKTOOL_STACKS=1, mode 2: the tool's native frames on top, the
managed frames, the runtime's native frames below) or not (no stacks asked
for). A `lock` statement makes two redirected calls, so the stacks run's
report says how many walks each lock statement made; one walk's cost is the
difference between the two runs' lock times divided by that.

Usage: python3 stack_cost.py [--dist build/dist] [--calls 20000] [--rounds 3]
"""

import argparse
import json
import os
import statistics
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))


def run(dist, program, calls, stacks):
    env = {k: v for k, v in os.environ.items() if not k.startswith(("VESK", "MRTE_", "CORECLR_"))}
    env.update({"DOTNET_CLI_TELEMETRY_OPTOUT": "1", "DOTNET_NOLOGO": "1"})
    with tempfile.TemporaryDirectory() as scratch:
        env["VESKMRTE_JIT_DIR"] = scratch
        report = os.path.join(scratch, "report.json")
        if stacks:
            env.update({"VESKTOOL_STACKS": "1", "VESKTOOL_REPORT": report})
        out = subprocess.run([os.path.join(dist, "veskmrte-run"), "dotnet", program, str(calls)], env=env,
                             capture_output=True, text=True, check=True)
        result = json.loads(out.stdout.strip().splitlines()[-1])
        if stacks:
            with open(report, encoding="utf-8") as f:
                stacks = [s for per_api in json.load(f)["stacks"].values() for s in per_api]
            result["walks_per_lock"] = sum(s["count"] for s in stacks) / result["locks"]
            result["frames"] = max(len(s["frames"]) for s in stacks)
    return result


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dist", default="build/dist")
    parser.add_argument("--calls", type=int, default=20000)
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    dist = os.path.abspath(args.dist)
    with tempfile.TemporaryDirectory() as out:
        subprocess.run(["dotnet", "build", os.path.join(HERE, "StackBench"), "-c", "Release", "--nologo", "-v", "quiet",
                        "-o", out], check=True, capture_output=True)
        program = os.path.join(out, "StackBench.dll")
        with_stacks, without = [], []
        for _ in range(args.rounds):
            with_stacks.append(run(dist, program, args.calls, True))
            without.append(run(dist, program, args.calls, False))
    trace = statistics.median(r["stacktrace_ns"] for r in with_stacks + without)
    walks_per_lock = statistics.median(r["walks_per_lock"] for r in with_stacks)
    walk = (statistics.median(r["lock_ns"] for r in with_stacks) -
            statistics.median(r["lock_ns"] for r in without)) / walks_per_lock
    print(json.dumps({"stacktrace_ns": round(trace), "tool_walk_ns": round(walk),
                      "walk_per_stacktrace": round(walk / trace, 2), "walks_per_lock": round(walks_per_lock, 2),
                      "frames_per_walk": max(r["frames"] for r in with_stacks)}))


if __name__ == "__main__":
    main()
