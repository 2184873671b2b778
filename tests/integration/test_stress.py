"""A stress program under the profiler for a bounded time, with the
workstation and the server collector: every count in the tool's report equals
the program's own, every lock keeps one identity through the collections,
the runtime guard balances and the JIT file matches the runtime's perf map.

VESK_STRESS_SECONDS sets how long each run lasts (default 10)."""

import collections
import os
import unittest

from harness import program
from test_jit_records import PROMPT_TIERING, JitRecordsTestCase

STRESS = program("Stress")
SECONDS = os.environ.get("VESK_STRESS_SECONDS", "10")
ENTER = "System.Threading.Monitor.Enter"
EXIT = "System.Threading.Monitor.Exit"


def own_counts(stdout):
    counts = {}
    for line in stdout.splitlines():
        key, value = line.split(" ", 1)
        counts[key] = value
    return counts


class Stress(JitRecordsTestCase):
    def test_counts_identities_guard_and_jit_records_hold_under_load(self):
        for collector in ("0", "1"):
            with self.subTest(server_gc=collector):
                run, (process,) = self.run_with_perf_map([STRESS, SECONDS],
                                                         dict(PROMPT_TIERING, DOTNET_gcServer=collector))
                own = own_counts(run.stdout)
                report = run.report()
                events = report["events"]
                self.assertEqual(events[ENTER]["calls"], int(own["monitor-enter"]))
                self.assertEqual(events[ENTER]["returns"], int(own["monitor-enter"]))
                self.assertEqual(events[EXIT]["calls"], int(own["monitor-exit"]))
                self.assertEqual(events["System.Threading.Thread..ctor"]["calls"], int(own["threads"]))
                self.assertEqual(events["System.Threading.Thread.Start"]["calls"], int(own["threads"]))
                self.assertEqual(events["System.Threading.Thread.Join"]["calls"], int(own["joins"]))
                self.assertGreater(int(own["held-across-collection"]), 0)
                self.assertGreater(int(own["gen2-collections"]), 0)

                # One identity per lock object for the whole run, its Exits
                # under the identity of its Enters: a lock that lost its
                # identity in a collection would split its counts in two, two
                # locks sharing one would merge theirs, and a call reported
                # with the address its object had before a collection moved it
                # would count under a stranger's identity or a new one.
                locked = [calls for calls in report["objects"].values() if ENTER in calls or EXIT in calls]
                per_lock = sorted(int(n) for n in own["per-lock"].split(",") if n != "0")
                self.assertEqual(sorted(c.get(ENTER, 0) for c in locked), per_lock)
                self.assertEqual([c for c in locked if c.get(EXIT) != c.get(ENTER)], [])
                # The program never nests locks: a release counted under
                # another identity would leave its lock held for ever, and
                # every later acquisition an order edge.
                self.assertEqual(report["lock_order"]["edges"], 0)

                guard = report["runtime_guard"]
                self.assertEqual(guard["imbalances"], [])
                self.assertEqual(guard["open_at_exit"], 0)
                self.assertEqual(guard["enters"], guard["leaves"])
                self.assertEqual(report["events_refused"], 0)
                self.assertRecordsMatchRuntime(process)
                tiers = {name.rsplit("[", 1)[-1] for _, _, name in process.bodies_named("Stress.Tiers::")}
                self.assertLessEqual({"QuickJitted]", "OptimizedTier1]", "OptimizedTier1OSR]"}, tiers)
                print("\nstress server_gc=%s: %s s, %s enters, %s threads, %s gen2 collections, %d records, "
                      "%d guard enters" % (collector, own["seconds"], own["monitor-enter"], own["threads"],
                                           own["gen2-collections"], len(process.records), guard["enters"]))


if __name__ == "__main__":
    unittest.main()
