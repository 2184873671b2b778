#!/usr/bin/env python3
"""What redirection adds to the hot synchronisation primitives: builds
SyncCost, runs it plain and under the profiler, rounds interleaved, and
prints per primitive the median nanoseconds per operation of each, the added
nanoseconds, and the ratio. The last line times one call of the tool's
report entry, the tool's own share of a redirected call (each wrapper makes
one such call, two for APIs that wait)."""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))


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
    env = dict(os.environ, VESKTOOL_REPORT=os.path.join(out_dir, "report.json"))
    plain, profiled = {}, {}
    for _ in range(args.rounds):
        for name, value in run(["dotnet", program, dist]).items():
            plain.setdefault(name, []).append(value)
        for name, value in run([os.path.join(dist, "veskmrte-run"), "--", "dotnet", program], env).items():
            profiled.setdefault(name, []).append(value)
    print(f"{'primitive':28} {'plain ns':>9} {'profiled ns':>12} {'added ns':>9} {'ratio':>6}")
    for name in plain:
        if name not in profiled:
            continue
        p, q = statistics.median(plain[name]), statistics.median(profiled[name])
        print(f"{name:28} {p:9.2f} {q:12.2f} {q - p:9.2f} {q / p:6.2f}")
    for name in plain:
        if name not in profiled:
            print(f"{name:28} {statistics.median(plain[name]):9.2f}")


if __name__ == "__main__":
    main()
