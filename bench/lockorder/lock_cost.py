"""What the lock-order analysis adds to a real program's lock calls: the
LockOrder test program takes two nested monitors in a loop (two
acquisitions and two releases per iteration), rounds interleaved, plain,
under the profiler with the analysis off (VESKTOOL_LOCK_ORDER=0: the
redirected call, its report and the call counts) and with it on. Medians of
the program's own time per iteration; the figure to watch is the ratio of
the analysis's share to the redirected call's share:

    (on - off) / (off - plain)

Usage: python3 lock_cost.py [--dist build/dist] [--programs build/test-programs] [--rounds 7]
"""

import argparse
import os
import statistics
import subprocess

CONFIGS = ("plain", "analysis off", "analysis on")


def run(config, dist, program, iterations):
    env = {k: v for k, v in os.environ.items() if not k.startswith(("VESK", "MRTE_", "CORECLR_"))}
    env.update({"DOTNET_CLI_TELEMETRY_OPTOUT": "1", "DOTNET_NOLOGO": "1"})
    command = ["dotnet", program, "loop", str(iterations)]
    if config != "plain":
        env["VESKTOOL_LOCK_ORDER"] = "0" if config == "analysis off" else "1"
        command = [os.path.join(dist, "veskmrte-run")] + command
    out = subprocess.run(command, env=env, capture_output=True, text=True, check=True).stdout
    return float(next(l.split()[1] for l in out.splitlines() if l.startswith("NS_PER_ITERATION")))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dist", default="build/dist")
    parser.add_argument("--programs", default="build/test-programs")
    parser.add_argument("--rounds", type=int, default=7)
    parser.add_argument("--iterations", type=int, default=2000000)
    args = parser.parse_args()
    program = os.path.join(args.programs, "LockOrder", "LockOrder.dll")
    times = {c: [] for c in CONFIGS}
    for _ in range(args.rounds):
        for config in CONFIGS:
            times[config].append(run(config, args.dist, program, args.iterations))
    median = {c: statistics.median(v) for c, v in times.items()}
    for config in CONFIGS:
        print("%-13s %7.1f ns per iteration (4 lock calls)" % (config, median[config]))
    redirected = median["analysis off"] - median["plain"]
    analysis = median["analysis on"] - median["analysis off"]
    print("per lock call: redirected call %.1f ns, analysis %.1f ns, ratio analysis/redirected %.2f"
          % (redirected / 4, analysis / 4, analysis / redirected if redirected > 0 else float("nan")))


if __name__ == "__main__":
    main()
