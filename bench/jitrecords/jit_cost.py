"""What recording JIT code costs a real program: JitMany compiles about 5000
generated methods ("bulk") or almost none ("hello"); each is run, rounds
interleaved, plain, with the runtime's own perf map, with the perf map and
its jitdump file (which copies the code bytes, as the JIT file does), and
under the profiler. Medians per configuration of the processor time the
run took (all threads, user and system: steadier than wall-clock time on a
shared machine) and of its wall-clock time.

The marginal cost per method compares "bulk" with "hello" in the same
configuration, which takes start-up (loading the profiler, the tool library,
the wrapper assembly) out of the figure:

    ((config bulk - config hello) - (plain bulk - plain hello)) / methods

Usage: python3 jit_cost.py [--dist build/dist] [--programs build/test-programs] [--rounds 10]
"""

import argparse
import glob
import json
import os
import re
import resource
import shutil
import statistics
import subprocess
import tempfile
import time

CONFIGS = ("plain", "perf map", "perf map + jitdump", "profiler")


def command(config, dist, program, mode, scratch):
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("DOTNET_PerfMap", "VESK", "MRTE_", "CORECLR_"))}
    env.update({"DOTNET_CLI_TELEMETRY_OPTOUT": "1", "DOTNET_NOLOGO": "1"})
    args = ["dotnet", program, mode]
    if config == "perf map":
        env.update({"DOTNET_PerfMapEnabled": "3", "DOTNET_PerfMapJitDumpPath": scratch})
    elif config == "perf map + jitdump":
        env.update({"DOTNET_PerfMapEnabled": "1", "DOTNET_PerfMapStubGranularity": "4",
                    "DOTNET_PerfMapJitDumpPath": scratch})
    elif config == "profiler":
        env["VESKMRTE_JIT_DIR"] = scratch
        args = [os.path.join(dist, "veskmrte-run")] + args
    return args, env


def timed_run(config, dist, program, mode):
    scratch = tempfile.mkdtemp(prefix="jit-cost-")
    try:
        args, env = command(config, dist, program, mode, scratch)
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        began = time.perf_counter()
        done = subprocess.run(args, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        wall = time.perf_counter() - began
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        if done.returncode != 0:
            raise SystemExit("%s %s failed: %s" % (config, mode, done.stderr))
        cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
        return cpu, wall, count_bodies(config, dist, scratch)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def count_bodies(config, dist, scratch):
    """Compiled bodies the configuration wrote down, or None."""
    if config == "profiler":
        (jit_file,) = glob.glob(os.path.join(scratch, "*.jit"))
        out = subprocess.run([os.path.join(dist, "veskmrte-jitdump"), "--json", "--summary", jit_file],
                             capture_output=True, text=True, check=True)
        return json.loads(out.stdout)["summary"]["records"]
    maps = glob.glob(os.path.join(scratch, "perf-*.map"))
    if not maps:
        return None
    with open(maps[0]) as f:
        return sum(1 for line in f if not re.match(r"\S+ \S+ stub ", line))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.dirname(os.path.dirname(here))
    parser = argparse.ArgumentParser()
    parser.add_argument("--dist", default=os.path.join(root, "build", "dist"))
    parser.add_argument("--programs", default=os.path.join(root, "build", "test-programs"))
    parser.add_argument("--rounds", type=int, default=10)
    opts = parser.parse_args()
    program = os.path.join(opts.programs, "JitMany", "JitMany.dll")

    samples = {(kind, c, m): [] for kind in ("cpu", "wall") for c in CONFIGS for m in ("hello", "bulk")}
    bodies = {}
    for _ in range(opts.rounds):
        for mode in ("hello", "bulk"):
            for config in CONFIGS:
                cpu, wall, count = timed_run(config, opts.dist, program, mode)
                samples[("cpu", config, mode)].append(cpu)
                samples[("wall", config, mode)].append(wall)
                if count is not None:
                    bodies[(config, mode)] = count

    median = {k: statistics.median(v) for k, v in samples.items()}
    methods = bodies[("profiler", "bulk")] - bodies[("profiler", "hello")]
    print("%d rounds; JitMany bulk compiles %d more bodies than hello (profiler's JIT file: %d and %d records)"
          % (opts.rounds, methods, bodies[("profiler", "bulk")], bodies[("profiler", "hello")]))
    for kind in ("cpu", "wall"):
        report(kind, median, methods)


def report(kind, median, methods):
    plain_extra = median[(kind, "plain", "bulk")] - median[(kind, "plain", "hello")]
    print("\n%s time, medians" % kind)
    print("%-20s %10s %10s %10s %14s" % ("configuration", "hello s", "bulk s", "bulk/plain", "us per method"))
    per_method = {}
    for config in CONFIGS:
        extra = median[(kind, config, "bulk")] - median[(kind, config, "hello")] - plain_extra
        per_method[config] = extra / methods * 1e6
        print("%-20s %10.3f %10.3f %10.2f %14.1f" % (
            config, median[(kind, config, "hello")], median[(kind, config, "bulk")],
            median[(kind, config, "bulk")] / median[(kind, "plain", "bulk")], per_method[config]))
    for config in ("perf map", "perf map + jitdump"):
        if per_method[config] > 0:
            print("profiler per method / %s per method: %.1f" % (config, per_method["profiler"] / per_method[config]))


if __name__ == "__main__":
    main()
