"""What one stack capture costs at the bottom of a 20-frame managed stack,
side by side with `new System.Diagnostics.StackTrace(false)` at the same
depth in the same process.

StackBench times a lock at that depth; its report makes the tool walk the
stack (VESKTOOL_STACKS=1, mode 2: the tool's native frames on top, the
managed frames, the runtime's native frames below) or not (no stacks asked
for). The walk's cost is the difference between the two runs' lock times.

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
    if stacks:
        env["VESKTOOL_STACKS"] = "1"
    with tempfile.TemporaryDirectory() as jit_dir:
        env["VESKMRTE_JIT_DIR"] = jit_dir
        out = subprocess.run([os.path.join(dist, "veskmrte-run"), "dotnet", program, str(calls)], env=env,
                             capture_output=True, text=True, check=True)
    return json.loads(out.stdout.strip().splitlines()[-1])


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
    walk = statistics.median(r["lock_ns"] for r in with_stacks) - statistics.median(r["lock_ns"] for r in without)
    print(json.dumps({"stacktrace_ns": round(trace), "tool_walk_ns": round(walk),
                      "walk_per_stacktrace": round(walk / trace, 2)}))


if __name__ == "__main__":
    main()
