#!/usr/bin/env python3
"""What the profiler costs whole programs, start-up first.

Runs each workload in each configuration, rounds interleaved (every round
runs every pair once, the configurations in a rotating order, after one
warm-up round that is not counted), and prints one table: medians of
wall-clock time and of processor time (user and system, all threads), the
median peak resident memory, and the ratios to the run without a profiler
and to the floor.

Configurations:
  none    no profiler
  hook    only the start-up hook that makes the wrapper assembly resolvable
  floor   the do-nothing profiler of bench/gcpause, asking for the same events
  idle    our profiler without the tool library (a copy of the profiler and
          the libraries it links, in a directory of their own): it declines
          to start
  full    our profiler through veskmrte-run, as a user runs it

Workloads:
  hello   a small program as a new user writes it (Workloads hello)
  jit     about 5000 methods JIT-compiled once each (JitMany bulk, built by
          the test build)
  locks   0.9 million lock/unlock pairs on two threads (Workloads locks)
  objects 200000 locked objects through compacting collections
          (Workloads objects)
  sdk     the SDK building a new console project (dotnet build, no restore,
          not incremental: MSBuild and the compiler run every time)
  format  the SDK's code formatter checking that project's whitespace
          (dotnet format whitespace --folder --verify-no-changes)

Every run's output must equal the run without a profiler.

Usage: python3 bench/startup/startup.py [--build build] [--dist DIR]
           [--rounds 10] [--workloads hello,jit,...] [--configs none,floor,...]
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

CONFIGS = ("none", "hook", "floor", "idle", "full")
WORKLOADS = ("hello", "jit", "locks", "objects", "sdk", "format")
# Real programs of the SDK, run on a project created for them.
SDK_WORKLOADS = ("sdk", "format")
NULL_PROFILER_CLSID = "{5B0B9E2C-6C1F-4E58-9A43-2D7E1B7C0A11}"
PROFILER_CLSID = "{5B1E0C47-93A2-4D6E-8F15-2C7A9D0E4B36}"
PROFILER = "orvane_veskmrte_clrprof_1.0.so"
PROFILER_LIBRARIES = (PROFILER, "orvane_brisel_prof_utils_1.0.so", "orvane_plovat_jitwriter_1.2.so")


class Setup:
    def __init__(self, build, dist):
        self.build = build
        self.dist = dist
        self.null_profiler = os.path.join(build, "bench", "gcpause", "vesk_null_profiler.so")
        self.idle_dir = None
        self.project = None

    def __enter__(self):
        # The profiler looks for the tool library beside itself first.
        self.idle_dir = tempfile.mkdtemp(prefix="startup-bench-idle-")
        for name in PROFILER_LIBRARIES:
            shutil.copy2(os.path.join(self.dist, name), self.idle_dir)
        return self

    def __exit__(self, *exc):
        shutil.rmtree(self.idle_dir, ignore_errors=True)
        if self.project:
            shutil.rmtree(os.path.dirname(self.project), ignore_errors=True)

    def create_project(self):
        # Created and restored once, outside the measured runs.
        self.project = os.path.join(tempfile.mkdtemp(prefix="startup-bench-sdk-"), "app")
        for step in (["new", "console", "-o", self.project], ["restore", self.project]):
            done = subprocess.run(["dotnet"] + step, capture_output=True, text=True)
            if done.returncode != 0:
                raise SystemExit("dotnet %s failed: %s%s" % (step[0], done.stdout, done.stderr))

    def program(self, workload):
        workloads = os.path.join(self.build, "bench", "startup", "Workloads", "Workloads.dll")
        return {
            "hello": [workloads, "hello"],
            "jit": [os.path.join(self.build, "test-programs", "JitMany", "JitMany.dll"), "bulk"],
            "locks": [workloads, "locks"],
            "objects": [workloads, "objects"],
            "sdk": ["build", self.project or "", "--no-restore", "--no-incremental", "-nologo", "-v:q"],
            "format": ["format", "whitespace", self.project or "", "--folder", "--verify-no-changes"],
        }[workload]

    def missing(self, configs, workloads):
        needed = [os.path.join(self.dist, name) for name in PROFILER_LIBRARIES + ("veskmrte-run",)]
        if "floor" in configs:
            needed.append(self.null_profiler)
        needed += [self.program(w)[0] for w in workloads if w not in SDK_WORKLOADS]
        return [p for p in needed if not os.path.exists(p)]

    def command(self, config, workload, scratch):
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("DOTNET_", "VESK", "MRTE_", "CORECLR_", "LD_LIBRARY_PATH"))}
        env.update({"DOTNET_CLI_TELEMETRY_OPTOUT": "1", "DOTNET_NOLOGO": "1", "VESKMRTE_JIT_DIR": scratch})
        args = ["dotnet"] + self.program(workload)
        if config == "hook":
            env["DOTNET_STARTUP_HOOKS"] = os.path.join(self.dist, "veskmrte_startup.dll")
        elif config == "floor":
            env.update({"CORECLR_ENABLE_PROFILING": "1", "CORECLR_PROFILER": NULL_PROFILER_CLSID,
                        "CORECLR_PROFILER_PATH": self.null_profiler})
        elif config == "idle":
            env.update({"CORECLR_ENABLE_PROFILING": "1", "CORECLR_PROFILER": PROFILER_CLSID,
                        "CORECLR_PROFILER_PATH": os.path.join(self.idle_dir, PROFILER),
                        "DOTNET_ProfAPI_ProfilerCompatibilitySetting": "EnableV2Profiler"})
        elif config == "full":
            args = [os.path.join(self.dist, "veskmrte-run")] + args
        return args, env

    def run(self, config, workload):
        """Wall seconds, processor seconds, peak resident KiB and output of one run."""
        scratch = tempfile.mkdtemp(prefix="startup-bench-")
        try:
            args, env = self.command(config, workload, scratch)
            with open(os.path.join(scratch, "out"), "w+") as out, open(os.path.join(scratch, "err"), "w+") as err:
                began = time.perf_counter()
                child = subprocess.Popen(args, env=env, stdout=out, stderr=err)
                _, status, usage = os.wait4(child.pid, 0)
                wall = time.perf_counter() - began
                child.returncode = os.waitstatus_to_exitcode(status)
                out.seek(0)
                text = out.read()
                err.seek(0)
                if child.returncode != 0:
                    raise SystemExit("%s %s failed (%d): %s%s" % (config, workload, child.returncode, text, err.read()))
            return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss, text
        finally:
            shutil.rmtree(scratch, ignore_errors=True)


def machine():
    cpu = "unknown processor"
    try:
        with open("/proc/cpuinfo") as f:
            cpu = next((line.split(":", 1)[1].strip() for line in f if line.startswith("model name")), cpu)
    except OSError:
        pass
    sdk = subprocess.run(["dotnet", "--version"], capture_output=True, text=True).stdout.strip()
    return "%s, %d cores, load %.1f at the start, SDK %s" % (cpu, os.cpu_count() or 0, os.getloadavg()[0], sdk)


def measure(setup, rounds, workloads, configs):
    samples = {(w, c): [] for w in workloads for c in configs}
    expected = {}
    for round_ in range(rounds + 1):
        for w in workloads:
            shift = round_ % len(configs)
            for c in configs[shift:] + configs[:shift]:
                wall, cpu, rss, text = setup.run(c, w)
                # The build's summary gives its own time.
                text = "\n".join(line for line in text.splitlines() if not line.startswith("Time Elapsed"))
                if c == "none":
                    expected.setdefault(w, text)
                elif w in expected and text != expected[w]:
                    raise SystemExit("%s under %s printed\n%s\ninstead of\n%s" % (w, c, text, expected[w]))
                if round_ > 0:
                    samples[(w, c)].append((wall, cpu, rss))
        sys.stderr.write("round %d of %d done\n" % (round_, rounds))
    return samples


def ratio(a, b):
    return "%.2f" % (a / b) if b > 0 else "-"


def report(samples, rounds, workloads, configs):
    print("%d rounds, medians; ratios of wall-clock time, processor time in brackets" % rounds)
    header = "%-8s %-6s %9s %9s %9s %14s %14s" % ("workload", "config", "wall ms", "cpu ms", "peak MiB",
                                                  "/ none", "/ floor")
    print(header)
    print("-" * len(header))
    for w in workloads:
        med = {c: tuple(statistics.median(r[i] for r in samples[(w, c)]) for i in range(3)) for c in configs}
        for c in configs:
            wall, cpu, rss = med[c]
            to_none = "%s (%s)" % (ratio(wall, med["none"][0]), ratio(cpu, med["none"][1]))
            to_floor = "%s (%s)" % (ratio(wall, med["floor"][0]), ratio(cpu, med["floor"][1])) \
                if "floor" in med else "-"
            print("%-8s %-6s %9.1f %9.1f %9.1f %14s %14s" % (w, c, wall * 1e3, cpu * 1e3, rss / 1024.0,
                                                            to_none, to_floor))
        print()


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(root, "build"))
    parser.add_argument("--dist", help="the tool directory (default: BUILD/dist)")
    parser.add_argument("--rounds", type=int, default=10)
    parser.add_argument("--workloads", default=",".join(WORKLOADS))
    parser.add_argument("--configs", default=",".join(CONFIGS))
    opts = parser.parse_args()
    workloads = [w for w in opts.workloads.split(",") if w]
    configs = [c for c in opts.configs.split(",") if c]
    unknown = [n for n in workloads if n not in WORKLOADS] + [n for n in configs if n not in CONFIGS]
    if unknown:
        raise SystemExit("unknown workload or configuration: " + ", ".join(unknown))
    if "none" not in configs:
        configs.insert(0, "none")
    build = os.path.abspath(opts.build)
    with Setup(build, os.path.abspath(opts.dist or os.path.join(build, "dist"))) as setup:
        missing = setup.missing(configs, workloads)
        if missing:
            raise SystemExit("missing (build the tree first): " + ", ".join(missing))
        if set(workloads) & set(SDK_WORKLOADS):
            setup.create_project()
        print("machine: " + machine())
        report(measure(setup, opts.rounds, workloads, configs), opts.rounds, workloads, configs)


if __name__ == "__main__":
    main()
