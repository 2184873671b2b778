"""Redirection end to end: programs run under the launcher call the wrappers
instead of the synchronisation APIs they were written against, and the tool
sees every such call."""

import collections
import json
import os
import re
import unittest

from debug_log import events
from harness import DIST, PROFILER_NAME, PROGRAMS, RUNTIME, ProfilerTestCase, program

SYNC_APIS = program("SyncApis")


def program_counts(stdout):
    """The counts the program kept itself (its COUNTS line)."""
    line = [l for l in stdout.splitlines() if l.startswith("COUNTS ")][-1]
    return json.loads(line[len("COUNTS "):])


def without_counts(stdout):
    """The output a program prints besides its own counts, which vary with
    timing (a wait that returns early), and its process id."""
    return [l for l in stdout.splitlines() if not l.startswith("COUNTS ") and not l.startswith("PID ")]


def locks_by_label(stdout):
    """label -> times the program locked that object (its LOCKS line)."""
    line = [l for l in stdout.splitlines() if l.startswith("LOCKS ")][-1]
    return {k: int(v) for k, v in (item.split("=") for item in line.split()[1:])}


def tool_counts(report):
    return {name: entry["calls"] for name, entry in report["events"].items()}


def assert_tool_saw_what_the_program_did(test, run):
    """The tool's counts per API equal the program's own, and every call is
    attributed to a managed thread."""
    test.assertEqual(run.returncode, 0, run.stderr)
    report = run.report()
    test.assertEqual(tool_counts(report), program_counts(run.stdout))
    for name, entry in report["events"].items():
        test.assertEqual(sum(entry["by_thread"].values()), entry["calls"], name)
    test.assertEqual(report["events_refused"], 0)


class RedirectedCalls(ProfilerTestCase):
    def test_every_covered_api_through_call_callvirt_and_newobj(self):
        plain = self.run_plain([SYNC_APIS, "all"])
        run = self.run_profiled([SYNC_APIS, "all"])
        self.assertEqual(without_counts(run.stdout), without_counts(plain.stdout))
        assert_tool_saw_what_the_program_did(self, run)
        # Each object the program locked across compacting collections shows
        # up under exactly one identity with all its locks: an object that got
        # a new identity after a collection would split its count over two.
        # (The program's other locks are taken other numbers of times.)
        objects = run.report()["objects"]
        enters = collections.Counter(calls.get("System.Threading.Monitor.Enter", 0) for calls in objects.values())
        self.assertEqual(collections.Counter(locks_by_label(run.stdout).values()) - enters, collections.Counter())
        self.assertTrue(all(int(identity) > 0 for identity in objects))
        # A task completed or observed through an awaiter, a builder or a
        # completion source is reported as the task its waits name: the
        # wrappers read the awaiter's and the builder's task out of the
        # struct, whose layout this checks on each runtime.
        waited = [calls for calls in objects.values() if "System.Threading.Tasks.Task.Wait" in calls]
        for api in ("System.Runtime.CompilerServices.TaskAwaiter.GetResult",
                    "System.Runtime.CompilerServices.ConfiguredTaskAwaitable+ConfiguredTaskAwaiter.GetResult",
                    "System.Runtime.CompilerServices.AsyncTaskMethodBuilder.SetResult",
                    "System.Threading.Tasks.TaskCompletionSource.SetResult",
                    "System.Runtime.CompilerServices.TaskAwaiter`1.GetResult",
                    "System.Runtime.CompilerServices.ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter.GetResult",
                    "System.Runtime.CompilerServices.AsyncTaskMethodBuilder`1.SetResult",
                    "System.Threading.Tasks.TaskCompletionSource`1.SetResult"):
            self.assertTrue([calls for calls in waited if api in calls], api)
        lines = run.log_lines()
        self.assertIn("  completed instrumentation", lines)
        self.assertIn("  nothing to instrument", lines)
        # Each replaced call names its opcode and the wrapper reference it now
        # calls. Concurrent compilations interleave their lines in the log,
        # so a method's apply is not always next to its replacements.
        replaced = [l for l in lines if l.startswith("      mnemonic=")]
        for line in replaced:
            self.assertRegex(line, r"^      mnemonic=0x(28|6f|73); operand=0x[0-9a-f]+"
                                   r"      wrapper ref token=0x(a|2b)[0-9a-f]{6}$")
        self.assertEqual({l.split(";")[0].strip() for l in replaced},
                         {"mnemonic=0x28", "mnemonic=0x6f", "mnemonic=0x73"})
        # Generic code over the program's own types is compiled at run time
        # even inside the precompiled core library, and is never rewritten.
        self.assertTrue([e for e in events(lines, "JitCompilationStarted")
                         if "  method from forbidden module list. no instrumentation" in e.lines])

    def test_counts_hold_after_tier_up_and_for_a_small_inlinable_method(self):
        plain = self.run_plain([SYNC_APIS, "hot", "100000"])
        run = self.run_profiled([SYNC_APIS, "hot", "100000"])
        self.assertEqual(without_counts(run.stdout), without_counts(plain.stdout))
        assert_tool_saw_what_the_program_did(self, run)
        # Some method was compiled twice: rewritten the first time, found
        # already rewritten the second.
        by_function = {}
        for event in events(run.log_lines(), "JitCompilationStarted"):
            by_function.setdefault(event.value("  function id="), []).append(event.lines[-1])
        recompiled = [outcomes for outcomes in by_function.values()
                      if outcomes[0] == "  completed instrumentation" and "  nothing to instrument" in outcomes[1:]]
        self.assertTrue(recompiled, "no rewritten method was compiled again")

    def test_counts_hold_with_inlining_forced_and_tiering_off(self):
        run = self.run_profiled([SYNC_APIS, "hot", "20000"],
                                extra_env={"DOTNET_TieredCompilation": "0", "DOTNET_JitAggressiveInlining": "1"})
        assert_tool_saw_what_the_program_did(self, run)

    def test_a_method_the_engine_cannot_install_runs_unchanged(self):
        plain = self.run_plain([SYNC_APIS, "all"])
        run = self.run_profiled([SYNC_APIS, "all"], extra_env={"TAVOLI_CIE_REFUSE_INSTALL": "1"})
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(without_counts(run.stdout), without_counts(plain.stdout))
        lines = run.log_lines()
        self.assertIn("  WARNING: MRTE_ERROR_UNABLE_TO_INSTRUMENT", lines)
        self.assertNotIn("  completed instrumentation", lines)
        # Every call went to the original API: the tool saw none of them.
        self.assertEqual(run.report()["events"], {})

    def test_a_completion_and_its_observation_name_one_task(self):
        plain = self.run_plain([SYNC_APIS, "async"])
        run = self.run_profiled([SYNC_APIS, "async"])
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(run.stdout, plain.stdout)
        rounds = int(re.search(r"^ROUNDS (\d+)$", run.stdout, re.M).group(1))
        report = run.report()
        self.assertEqual(report["events_refused"], 0)
        objects = report["objects"]
        services, tasks = "System.Runtime.CompilerServices.", "System.Threading.Tasks."

        def related(completion, observation):
            return len([c for c in objects.values() if c.get(completion) and c.get(observation)])

        awaited = services + "TaskAwaiter`1.GetResult"
        # Each round's source, completed on its own thread, and the task of
        # each round's async method; at least one for the whole run's method.
        self.assertGreaterEqual(related(tasks + "TaskCompletionSource`1.SetResult", awaited), rounds)
        self.assertGreaterEqual(related(services + "AsyncTaskMethodBuilder`1.SetResult", awaited), rounds + 1)
        configured = services + "ConfiguredTaskAwaitable`1+ConfiguredTaskAwaiter.GetResult"
        self.assertGreaterEqual(len([c for c in objects.values() if c.get(configured)]), rounds)
        self.assertGreaterEqual(report["events"][services + "ValueTaskAwaiter`1.GetResult"]["calls"], rounds)
        self.assertEqual(report["events"][tasks + "Parallel.For"]["calls"], 1)
        # Atomic and volatile accesses name their location by address within
        # one collection era: the counter two threads bumped is one location.
        locations = report["locations"]
        self.assertGreaterEqual(locations["reports"], 2001)
        self.assertGreaterEqual(locations["shared"], 1)
        self.assertLessEqual(locations["distinct"], locations["reports"] - locations["moved"])


class WrappersThatCannotServe(ProfilerTestCase):
    """When the wrapper assembly cannot serve the program, the program keeps
    its own calls: the same output, no call reaches the tool, and the log
    says why."""

    def test_the_program_keeps_its_own_calls(self):
        launcher = os.path.join(self.tool_dir_without("veskmrte_clr40wrap.dll"), "veskmrte-run")
        cases = [("no wrapper assembly", SYNC_APIS,
                  lambda path: self.run_profiled([path, "all"], launcher=launcher),
                  r"  no wrapper assembly in .*\. no redirection")]
        unsupported = os.environ.get("VESK_UNSUPPORTED_PROGRAMS_DIR")
        if unsupported and RUNTIME == "sdk":
            # Its framework assemblies are older than those the wrappers
            # reference. The start-up hook, built for the oldest supported
            # runtime, would not load there, so the runtime's variables are
            # set without the launcher.
            profiler = os.path.join(DIST, PROFILER_NAME)
            cases.append(("a runtime older than the oldest supported",
                          os.path.join(unsupported, "SyncApis", "SyncApis.dll"),
                          lambda path: self.run_with_profiler_at(profiler, [path, "all"]),
                          r"  the wrapper assembly needs a newer runtime: it references [\w.]+ 8\.0\.0\.0, "
                          r"the runtime is [0-7]\.\d+\.\d+\.\d+\. no redirection"))
        for name, path, run_profiled, reason in cases:
            with self.subTest(name):
                plain = self.run_plain([path, "all"])
                run = run_profiled(path)
                self.assertEqual(run.returncode, plain.returncode, run.stderr)
                self.assertEqual(without_counts(run.stdout), without_counts(plain.stdout))
                lines = run.log_lines()
                # Said once, when the first module asked for the wrappers.
                self.assertEqual(len([l for l in lines if re.fullmatch(reason, l)]), 1, "\n".join(lines[:12]))


class StartingPrograms(ProfilerTestCase):
    """However a program is started, it finds the wrapper assembly."""

    def test_apphost_executable(self):
        apphost = os.path.join(PROGRAMS, "SyncApis", "SyncApis")
        run = self.run_profiled(["all"], command=(apphost,))
        assert_tool_saw_what_the_program_did(self, run)

    def test_dotnet_exec_with_the_programs_own_deps_json(self):
        directory = os.path.join(PROGRAMS, "SyncApis")
        run = self.run_profiled(["exec", "--depsfile", os.path.join(directory, "SyncApis.deps.json"),
                                 "--runtimeconfig", os.path.join(directory, "SyncApis.runtimeconfig.json"),
                                 SYNC_APIS, "all"])
        assert_tool_saw_what_the_program_did(self, run)


class FrameworkCode(ProfilerTestCase):
    def test_the_framework_option_redirects_the_frameworks_own_calls(self):
        run = self.run_profiled([SYNC_APIS, "all"], options=("--jit-framework",))
        self.assertEqual(run.returncode, 0, run.stderr)
        seen = tool_counts(run.report())
        own = program_counts(run.stdout)
        for name, count in own.items():
            self.assertGreaterEqual(seen.get(name, 0), count, name)
        self.assertGreater(sum(seen.values()), sum(own.values()), "no framework call was redirected")


if __name__ == "__main__":
    unittest.main()
