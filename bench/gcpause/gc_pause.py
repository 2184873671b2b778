"""Garbage-collection pauses under the profiler, side by side with the same
program without a profiler and under a do-nothing profiler.

GcPause keeps OBJECTS locked objects alive through COLLECTIONS compacting
full collections and prints the collector's total pause over them
(GC.GetTotalPauseDuration), and the median collection's pause, which a
busy machine disturbs less. Each configuration runs once per round, rounds
interleaved; the table gives the median pause, its ratio to no profiler and
its ratio to the do-nothing profiler that asks for the same events as ours
(the floor), and the live heap the collections carried. The other
do-nothing rows show what each kind of event costs; --baseline DIST adds our
profiler from another build's tool directory, for before-and-after figures
from one run.

With -- PROGRAM ARGS..., the program given (one that nobody here wrote, such
as the SDK's formatter) runs instead of GcPause, with the start-up hook
PauseAtExit in every configuration: each of its processes reports its total
pause and collections at exit, and the table sums them.

Usage: python3 gc_pause.py [--build build] [--rounds 9] [--objects 100000]
                           [--collections 20] [--server] [--configs a,b,...]
                           [--baseline DIST] [-- PROGRAM ARGS...]
"""

import argparse
import os
import re
import statistics
import subprocess
import tempfile

NULL_CLSID = "{5B0B9E2C-6C1F-4E58-9A43-2D7E1B7C0A11}"
OUR_MASK = "0x101002A5"

# name -> (low mask, high mask, answer every callback with S_OK); None: ours
# or no profiler at all.
CONFIGS = {
    "none": None,
    "floor: our events and answers": (OUR_MASK, "0", False),
    "our events, every answer S_OK": (OUR_MASK, "0", True),
    "no GC events": ("0x10100225", "0", False),
    "basic GC (start/finish only)": ("0x10100225", "0x10", False),
    "basic GC + moved objects": ("0x10100225", "0x30", False),
    "ours": "ours",
}
BASELINE = "ours, baseline build"
DEFAULT_CONFIGS = ["none", "floor: our events and answers", "ours"]
FLOOR = "floor: our events and answers"


def command(name, options, report=None):
    build = options.build
    env = {k: v for k, v in os.environ.items() if not k.startswith(("CORECLR_", "VESK", "DOTNET_gc"))}
    env.update({"DOTNET_CLI_TELEMETRY_OPTOUT": "1", "DOTNET_NOLOGO": "1"})
    if options.server:
        env["DOTNET_gcServer"] = "1"
    if options.program:
        args = list(options.program)
        # The runtime takes a hook by its full path; the launcher adds its own
        # hook after this one.
        hook = os.path.join(build, "bench", "gcpause", "PauseAtExit", "PauseAtExit.dll")
        env["DOTNET_STARTUP_HOOKS"] = os.path.abspath(hook)
        env["VESK_PAUSE_REPORT"] = report
    else:
        program = os.path.join(build, "bench", "gcpause", "GcPause", "GcPause.dll")
        args = ["dotnet", program, str(options.objects), str(options.collections)]
    config = CONFIGS.get(name)
    # The launcher as a user runs it: no stack capture (VESKTOOL_* is cleared
    # above), the tool's report and deadlock summary at exit, outside the
    # measured collections.
    if name == BASELINE:
        args = [os.path.join(options.baseline, "veskmrte-run"), "--"] + args
    elif config == "ours":
        args = [os.path.join(build, "dist", "veskmrte-run"), "--"] + args
    elif config is not None:
        low, high, all_ok = config
        env.update({"CORECLR_ENABLE_PROFILING": "1", "CORECLR_PROFILER": NULL_CLSID,
                    "CORECLR_PROFILER_PATH": os.path.join(build, "bench", "gcpause", "vesk_null_profiler.so"),
                    "VESK_NULL_MASK": low, "VESK_NULL_MASK_HIGH": high})
        if all_ok:
            env["VESK_NULL_ANSWER"] = "ok"
    return args, env


# Total pause, pause per collection (GcPause: the median collection's; a
# program: the mean), live heap after the last collection (a program: 0).
def pause_ms(name, options):
    if not options.program:
        args, env = command(name, options)
        done = subprocess.run(args, env=env, capture_output=True, text=True)
        found = re.search(r"PAUSE_MS (\S+) MEDIAN_MS (\S+) FULL_GCS (\d+) LOCKED (\d+) LIVE_KB (\d+)", done.stdout)
        if done.returncode != 0 or not found or int(found.group(4)) != options.objects:
            raise SystemExit("%s failed (%d): %s %s" % (name, done.returncode, done.stdout, done.stderr))
        return float(found.group(1)), float(found.group(2)), int(found.group(5))
    with tempfile.TemporaryDirectory(prefix="gc-pause-") as scratch:
        report = os.path.join(scratch, "pauses")
        args, env = command(name, options, report)
        done = subprocess.run(args, env=env, capture_output=True, text=True)
        lines = open(report).read().splitlines() if os.path.exists(report) else []
        if done.returncode != 0 or not lines:
            raise SystemExit("%s failed (%d): %s %s"
                             % (name, done.returncode, done.stdout[-2000:], done.stderr[-2000:]))
        total = sum(float(line.split()[1]) for line in lines)
        collections = sum(int(line.split()[3]) for line in lines)
        return total, total / max(collections, 1), 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build")
    parser.add_argument("--rounds", type=int, default=9)
    parser.add_argument("--objects", type=int, default=100000)
    parser.add_argument("--collections", type=int, default=20)
    parser.add_argument("--server", action="store_true", help="server collector")
    parser.add_argument("--configs", default=",".join(DEFAULT_CONFIGS),
                        help="comma-separated, from: " + "; ".join(CONFIGS) + "; or 'all'")
    parser.add_argument("--baseline", help="another build's tool directory (its dist/) to run as one more row")
    parser.add_argument("program", nargs=argparse.REMAINDER, help="-- PROGRAM ARGS...: a program instead of GcPause")
    options = parser.parse_args()
    if options.program[:1] == ["--"]:
        options.program = options.program[1:]
    names = list(CONFIGS) if options.configs == "all" else options.configs.split(",")
    for name in names:
        if name not in CONFIGS:
            raise SystemExit("unknown configuration: " + name)
    if "none" not in names:
        names.insert(0, "none")
    if FLOOR not in names:
        names.insert(1, FLOOR)
    if options.baseline:
        names.append(BASELINE)

    totals = {name: [] for name in names}
    singles = {name: [] for name in names}
    live = {name: [] for name in names}
    for round_index in range(options.rounds):
        # Each round starts at another configuration, so that none always
        # runs right after a given other one.
        shift = round_index % len(names)
        for name in names[shift:] + names[:shift]:
            total, single, live_kb = pause_ms(name, options)
            totals[name].append(total)
            singles[name].append(single)
            live[name].append(live_kb)

    what = ("%s (every process; one GC: the mean)" % " ".join(options.program) if options.program else
            "%d objects, %d compacting full collections" % (options.objects, options.collections))
    print("GC pause, %s, %s collector, median of %d rounds"
          % (what, "server" if options.server else "workstation", options.rounds))
    print("ratios: the median of each round's ratio, so that a machine slowing down between rounds moves both sides")
    print("%-34s %9s %7s %7s   %9s %7s %7s   %8s" % ("configuration", "total ms", "/ none", "/ floor",
                                                    "one GC ms", "/ none", "/ floor", "live KB"))

    def ratio(values, name, to):
        return statistics.median(a / b for a, b in zip(values[name], values[to]))

    for name in names:
        print("%-34s %9.1f %7.2f %7.2f   %9.2f %7.2f %7.2f   %8d"
              % (name, statistics.median(totals[name]), ratio(totals, name, "none"), ratio(totals, name, FLOOR),
                 statistics.median(singles[name]), ratio(singles, name, "none"), ratio(singles, name, FLOOR),
                 statistics.median(live[name])))

if __name__ == "__main__":
    main()
