"""Stacks the tool captures at redirected calls, checked against the program's
own System.Diagnostics.StackTrace at the same points.

The StackNames program takes a lock at known call chains (three calls deep,
in a lambda, a generic method, a constructor, a local function, a method
compiled again at the optimising tier, after an inlined call, on a thread it
started) and prints, for each, the frames of `new StackTrace()`. The
tool's frames are named through the JIT file: the record whose code holds a
frame's address gives its module and token. The managed frames of the tool's
stack, less the wrapper assembly's own frames on top, must be the runtime's
trace frame for frame."""

import json
import os
import subprocess
import unittest

from harness import DIST, ProfilerTestCase, program

STACKNAMES = program("StackNames")
JITDUMP_TOOL = os.path.join(DIST, "veskmrte-jitdump")
WRAPPERS = "veskmrte_clr40wrap.dll"
MONITOR_ENTER = "System.Threading.Monitor.Enter"
# Hot methods reach the optimising tier within the run.
PROMPT_TIERING = {"DOTNET_TC_CallCountingDelayMs": "0"}


class CodeMap:
    """Frame address -> (module file name, method token) from the JIT file."""

    def __init__(self, jit_file):
        out = subprocess.run([JITDUMP_TOOL, "--json", jit_file], capture_output=True, text=True, timeout=120)
        assert out.returncode == 0, out.stderr
        self.records = json.loads(out.stdout)["records"]
        self.ranges = []
        for r in self.records:
            name = (os.path.basename(r["moduleFileName"]), int(r["methodToken"], 16))
            for c in r["codeRanges"]:
                start = int(c["start"], 16)
                self.ranges.append((start, start + c["size"], name))

    def name(self, ip):
        for start, end, name in self.ranges:
            if start <= ip < end:
                return name
        return None

    def bodies_of(self, token):
        return [r for r in self.records if int(r["methodToken"], 16) == token]


class StackWalkTest(ProfilerTestCase):
    def run_stacks(self, mode):
        run = self.run_profiled([STACKNAMES], log=False,
                                extra_env=dict(PROMPT_TIERING, VESKTOOL_STACKS="1",
                                               VESKTOOL_STACK_WALK_MODE=str(mode)))
        self.assertEqual(0, run.returncode, run.stderr)
        line = next(l for l in run.stdout.splitlines() if l.startswith("STACKS "))
        traces = json.loads(line[len("STACKS "):])
        jit_files = run.jit_files()
        self.assertEqual(1, len(jit_files))
        return run, traces, run.report(), CodeMap(jit_files[0])

    def managed_chain(self, stack, code):
        """The named managed frames of one captured stack, the wrapper's
        frames dropped (where the wrapper was not inlined into its caller);
        every managed frame must be named."""
        chain = []
        for frame in stack["frames"]:
            if frame["kind"] == "native":
                self.assertEqual("0x0", frame["function"])
                continue
            ip = int(frame["ip"], 16)
            name = code.name(ip)
            self.assertIsNotNone(name, "managed frame %s has no JIT record" % frame["ip"])
            if name[0] != WRAPPERS:
                chain.append(name)
        return chain

    def assertEveryScenarioMatches(self, traces, report, code):
        chains = [self.managed_chain(s, code) for s in report["stacks"][MONITOR_ENTER]]
        for scenario, frames in traces.items():
            with self.subTest(scenario=scenario):
                expected = [(os.path.basename(f["module"]), f["token"]) for f in frames]
                names = [f["name"] for f in frames]
                self.assertIn(expected, chains, "no captured stack is the runtime's trace %s" % names)

    def test_managed_frames_match_the_runtimes_own_trace_in_both_modes(self):
        for mode in (1, 2):
            with self.subTest(mode=mode):
                run, traces, report, code = self.run_stacks(mode)
                self.assertEqual({"three-deep", "lambda", "generic-method", "generic-type", "constructor",
                                  "local-function", "thread", "tiered", "inlined"}, set(traces))
                self.assertEveryScenarioMatches(traces, report, code)
                stacks = report["stacks"][MONITOR_ENTER]
                if mode == 1:
                    self.assertEqual({"managed"}, {f["kind"] for s in stacks for f in s["frames"]})
                # Libraries the host unloads before the report (its own
                # resolver) must still be listed, or their frames cannot be named.
                modules = [(int(m["start"], 16), int(m["end"], 16)) for m in report["modules"]]
                for frames in (s["frames"] for s in stacks if mode == 2):
                    # Mixed stacks start in the tool's own code and end in
                    # the thread's native base.
                    self.assertEqual(["native", "native"], [frames[0]["kind"], frames[-1]["kind"]])
                    self.assertTrue(any(f["kind"] == "managed" for f in frames))
                    for ip in (int(f["ip"], 16) for f in frames if f["kind"] == "native"):
                        self.assertTrue(any(start <= ip < end for start, end in modules), "no module holds %#x" % ip)
                # The recorded call of the hot method ran in a later body.
                hot = [t for t in traces["tiered"] if t["name"].endswith(".Hot")]
                self.assertGreaterEqual(len(code.bodies_of(hot[0]["token"])), 2)


if __name__ == "__main__":
    unittest.main()
