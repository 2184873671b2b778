"""Lock-order analysis on real programs: latent inversions that never
deadlocked in the run are found once each, with the threads that took the
locks (as the program itself prints them); safe lock patterns are not."""

import json
import os
import re
import signal
import subprocess
import time
import unittest

from harness import LAUNCHER, ProfilerTestCase, program

LOCK_ORDER = program("LockOrder")
SOURCE = os.path.join(os.path.dirname(__file__), "..", "programs", "LockOrder", "Program.cs")
ACQUISITION = re.compile(r"lock \(|\.WaitOne\(|\.Wait\(")


def user_line(at):
    """(file, line) of the innermost frame of the program's own code."""
    for frame in at.get("frames") or []:
        if frame.get("line") and not frame.get("name", "").startswith(("Veskmrte.", "System.")):
            return os.path.basename(frame["file"]), frame["line"]
    return None


def threads_of(stdout):
    """scenario/name -> managed thread id, from the program's THREAD lines."""
    return {w[1]: int(w[2]) for w in (l.split() for l in stdout.splitlines()) if w and w[0] == "THREAD"}


# scenario, threads of the cycle's edges, lock type
INVERSIONS = (
    ("two", ["forward", "backward"], "System.Threading.Monitor"),
    ("three", ["ab", "bc", "ca"], "System.Threading.Monitor"),
    ("mutex", ["forward", "backward"], "System.Threading.Mutex"),
    ("semaphore", ["forward", "backward"], "System.Threading.SemaphoreSlim"),
    # Both locks move between the two acquisitions of each thread; a lock
    # that got a second identity would break the cycle.
    ("moved", ["forward", "backward"], "System.Threading.Monitor"),
)
# scenario, fewest order edges it adds (the analysis saw the nesting and
# found it harmless)
SAFE = (
    ("gated", 3),        # both orders, always inside one gate lock
    ("ordered", 3),      # three threads, one global order
    ("single", 2),       # both orders, but on one thread only
    ("tryfail", 1),      # a failed TryEnter holds nothing afterwards
    ("waitpulse", 1),    # Monitor.Wait gives its lock up
)


class LockOrder(ProfilerTestCase):
    @classmethod
    def setUpClass(cls):
        # One run of every scenario, each on locks of its own, serves every
        # check of the analysis.
        runner = ProfilerTestCase()
        runner.setUp()
        cls.addClassCleanup(runner.tearDown)
        cls.run_ = runner.run_profiled([LOCK_ORDER, "all"], log=False)
        cls.report = cls.run_.report() if cls.run_.returncode == 0 else None

    def test_inversions_are_found_once_with_the_threads_that_took_them(self):
        run, report = self.run_, self.report
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertIn("MOVED yes", run.stdout)
        threads = threads_of(run.stdout)
        with open(SOURCE, encoding="utf-8") as f:
            source = f.read().splitlines()
        cycles = {}
        for cycle in report["potential_deadlocks"]:
            edge_threads = sorted(e["thread"] for e in cycle["edges"])
            found = [s for s, names, _ in INVERSIONS if edge_threads == sorted(threads[s + "/" + n] for n in names)]
            self.assertEqual(len(found), 1, ("a cycle no inversion explains", cycle))
            self.assertNotIn(found[0], cycles, "found twice")
            cycles[found[0]] = cycle
        # Safe patterns ran too: any cycle of theirs is one no inversion explains.
        self.assertEqual(sorted(cycles), sorted(s for s, _, _ in INVERSIONS))
        for scenario, names, lock_type in INVERSIONS:
            with self.subTest(scenario):
                locks, edges = cycles[scenario]["locks"], cycles[scenario]["edges"]
                self.assertEqual(len(locks), len(names))
                self.assertEqual(len({l["id"] for l in locks}), len(names))
                self.assertTrue(all(l["kind"] == lock_type for l in locks), locks)
                for i, edge in enumerate(edges):
                    self.assertEqual(edge["held"], locks[i]["id"])
                    self.assertEqual(edge["acquired"], edges[(i + 1) % len(edges)]["held"])
                # The stacks point at the program's own acquisition
                # statements, read from its source: the inner lock always;
                # the outer one when the path was taken more than once.
                for edge in edges:
                    for role, at, word in (("acquired", edge["acquired_at"], "second"), ("held", edge["held_at"], "first")):
                        where = user_line(at)
                        if where is None and role == "held" and scenario != "two":
                            continue
                        self.assertIsNotNone(where, (role, at))
                        self.assertEqual(where[0], "Program.cs")
                        text = source[where[1] - 1]
                        self.assertRegex(text, ACQUISITION, (role, where))
                        if scenario != "moved":
                            self.assertIn(word, text, (role, where))

    def test_safe_lock_patterns_are_not_reported(self):
        run, report = self.run_, self.report
        self.assertEqual(run.returncode, 0, run.stderr)
        for scenario, _ in SAFE:
            self.assertIn("DONE " + scenario, run.stdout)
        self.assertIn("TRYENTER failed", run.stdout)
        self.assertEqual(len(report["potential_deadlocks"]), len(INVERSIONS), "safe patterns add no cycle")
        # Every pattern's nesting was seen: inversions add an edge per thread.
        fewest = sum(len(names) for _, names, _ in INVERSIONS) + sum(edges for _, edges in SAFE)
        self.assertGreaterEqual(report["lock_order"]["edges"], fewest)

    def test_a_summariser_that_cannot_run_is_said_and_the_program_is_unchanged(self):
        launcher = os.path.join(self.tool_dir_without("veskmrte-deadlocks"), "veskmrte-run")
        run = self.run_profiled([LOCK_ORDER, "two"], log=False, report=False, launcher=launcher)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertIn("DONE two", run.stdout)
        self.assertRegex(run.stderr, r"veskmrte-run: cannot run \S+/veskmrte-deadlocks: No such file or directory\n"
                                     r"veskmrte-run: cannot show the reports' findings")

    def test_a_real_deadlock_killed_after_a_timeout_leaves_its_cycle(self):
        workdir = self.workdir()
        env = self.base_env(workdir)
        env["VESKTOOL_REPORT"] = os.path.join(workdir, "report.json")
        proc = subprocess.Popen([LAUNCHER, "dotnet", LOCK_ORDER, "deadlock"], cwd=workdir, env=env,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        try:
            self.assertEqual(proc.stdout.readline().strip(), "DEADLOCKING")
            time.sleep(2)
            self.assertIsNone(proc.poll(), "the program was meant to hang")
            proc.send_signal(signal.SIGTERM)
            proc.communicate(timeout=60)
        finally:
            if proc.poll() is None:
                proc.kill()
                proc.communicate()
        path = os.path.join(workdir, "report.json")
        if not os.path.exists(path):
            self.skipTest("the tool library writes no report when the process is terminated")
        with open(path, encoding="utf-8") as f:
            cycles = json.load(f)["potential_deadlocks"]
        self.assertEqual(len(cycles), 1, cycles)
        self.assertEqual(len(cycles[0]["locks"]), 2)


if __name__ == "__main__":
    unittest.main()
