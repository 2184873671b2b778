"""The profiler starting inside real .NET processes: start-up, events, the
runtime guard, thread assignments and the failure paths."""

import os
import re
import subprocess
import unittest

from harness import (DIST, HEX, LAUNCHER, PROFILER_NAME, ProfilerTestCase, headers, numbers_after,
                     on_the_sdk_runtime_only, program)

SCENARIOS = program("Scenarios")


class StartUp(ProfilerTestCase):
    def test_start_events_threads_guard_and_jit_file(self):
        plain = self.run_plain([SCENARIOS, "threads", "6"])
        run = self.run_profiled([SCENARIOS, "threads", "6"])
        self.assertSameBehaviour(plain, run)
        lines = run.log_lines()
        self.assertEqual(lines[0], "[Initialize event]")
        self.assertEqual(lines[1], "  initialization succeeded")
        # The runtime took the whole request, collection events included.
        self.assertEqual(lines[2], "  event mask=0x101002a5 set")
        for event in ("ModuleLoadFinished", "JitCompilationStarted", "JitCompilationFinished"):
            found = headers(lines, event)
            self.assertTrue(found, event)
            for line in found:
                self.assertRegex(line, r"^\[" + event + r" event\] osTid=(" + HEX + ")$")
        # Every event header follows an empty line.
        for i, line in enumerate(lines[2:], start=2):
            if line.startswith("[") and line.endswith("event]") or " event] " in line:
                self.assertEqual(lines[i - 1], "", "line %d: %s" % (i, line))
        self.assertTrue(numbers_after(lines, "  id="))
        self.assertTrue(numbers_after(lines, "  function id="))

        logged_os_threads = set(numbers_after(lines, "  os thread id="))
        logged_managed = set(numbers_after(lines, "  managed thread id="))
        # The main thread, the six workers and the runtime's own threads.
        self.assertGreaterEqual(len(logged_os_threads), 7)
        report = run.report()
        assigned = report["thread_assignments"]
        self.assertEqual({a["os_thread"] for a in assigned}, logged_os_threads)
        self.assertEqual({a["managed_thread"] for a in assigned}, logged_managed)
        guard = report["runtime_guard"]
        self.assertEqual(guard["imbalances"], [])
        self.assertGreater(guard["enters"], 0)
        self.assertEqual(guard["enters"], guard["leaves"])
        self.assertGreaterEqual(guard["max_depth"], 1)
        self.assertTrue(report["stack_walker_set"])

        files = run.jit_files()
        self.assertEqual(len(files), 1, files)
        self.assertIn("-%d-" % report["pid"], os.path.basename(files[0]))

    def test_garbage_collections_show_in_the_log(self):
        run = self.run_profiled([SCENARIOS, "gc", "3"])
        self.assertEqual(run.returncode, 0, run.stderr)
        lines = run.log_lines()
        started = headers(lines, "GarbageCollectionStarted")
        finished = headers(lines, "GarbageCollectionFinished")
        self.assertGreaterEqual(len(started), 3)
        self.assertEqual(len(started), len(finished))

    def test_runtime_starts_the_profiler_found_next_to_its_libraries_without_launcher_settings(self):
        # No compatibility setting and no library path: the runtime must still
        # start a profiler that answers only up to the second callback
        # interface, and the profiler must find the tool library beside it.
        run = self.run_with_profiler_at(os.path.join(DIST, PROFILER_NAME), [SCENARIOS, "hello"])
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(run.log_lines()[:2], ["[Initialize event]", "  initialization succeeded"])

    def test_program_exit_code_and_output_pass_through(self):
        plain = self.run_plain([SCENARIOS, "exit-code"])
        run = self.run_profiled([SCENARIOS, "exit-code"])
        self.assertEqual(plain.returncode, 7)
        self.assertSameBehaviour(plain, run)

    def test_the_launcher_as_a_containers_first_process_runs_the_program(self):
        # As a container's entry point the launcher's supervisor is process 1,
        # the parent an orphaned program would also see.
        namespace = ["-p", "-f", "--mount-proc"]
        if subprocess.run(["unshare"] + namespace + ["true"], capture_output=True).returncode != 0:
            self.skipTest("no new process namespace here")
        plain = self.run_plain([SCENARIOS, "exit-code"])
        run = self.run_profiled([SCENARIOS, "exit-code"], launcher="unshare", options=namespace + [LAUNCHER])
        self.assertSameBehaviour(plain, run)


class ThreadsAndGuard(ProfilerTestCase):
    def test_offline_stack_walker_skips_thread_assignment_even_when_empty(self):
        run = self.run_profiled([SCENARIOS, "threads", "2"],
                                extra_env={"MRTE_ACTIVATE_OFFLINE_STACKWALKER": ""})
        self.assertEqual(run.returncode, 0, run.stderr)
        lines = run.log_lines()
        self.assertEqual(lines[1], "  initialization succeeded")
        self.assertEqual(headers(lines, "ThreadAssignedToOSThread"), [])
        self.assertEqual(run.report()["thread_assignments"], [])

    def test_failing_leave_runtime_ends_the_process_with_the_assertion(self):
        run = self.run_profiled([SCENARIOS, "hello"], extra_env={"VESKTOOL_FAIL": "leave_runtime"})
        self.assertEqual(run.returncode, 3)
        self.assertRegex(run.stderr, r"VESKMRTE1_ASSERT at:src/clrprof/vesk_prof_ext\.cpp:\d+ "
                                     r"'m_ext->leave_runtime\(m_ext, m_lvl\) == vesk_er_success'")
        self.assertNotIn("hello", run.stdout)

    def test_failing_enter_runtime_leaves_guards_inert(self):
        plain = self.run_plain([SCENARIOS, "threads", "2"])
        run = self.run_profiled([SCENARIOS, "threads", "2"], extra_env={"VESKTOOL_FAIL": "enter_runtime"})
        self.assertSameBehaviour(plain, run)
        self.assertEqual(run.report()["runtime_guard"]["leaves"], 0)


def idle_log(run):
    """The non-empty log lines of a profiler that declined to start: the
    start-up header, then at most the runtime's shut-down call; the line that
    says why it declined is left out."""
    lines = [l for l in run.log_lines() if l and not l.startswith("  declined: ")]
    if len(lines) == 2 and re.fullmatch(r"\[Shutdown event\] succeeded osTid=(" + HEX + ")", lines[1]):
        return lines[:1]
    return lines


class DecliningToStart(ProfilerTestCase):
    def test_a_profiler_that_cannot_serve_stays_idle_and_the_program_runs_unchanged(self):
        def beside(missing):
            tool_dir = self.tool_dir_without(missing)
            return lambda args: self.run_with_profiler_at(os.path.join(tool_dir, PROFILER_NAME), args,
                                                          extra_env={"LD_LIBRARY_PATH": tool_dir})

        def with_env(**env):
            return lambda args: self.run_profiled(args, extra_env=env)

        cases = [
            ("no tool library", beside("vesktool.so")),
            ("no engine", beside("tavoli_cie_1.0.so")),
            ("the tool's entry point fails", with_env(VESKTOOL_FAIL="entry")),
            ("the tool rejects its stack walk mode", with_env(VESKTOOL_STACK_WALK_MODE="5")),
        ]
        plain = self.run_plain([SCENARIOS, "threads", "3"])
        for name, run_profiled in cases:
            with self.subTest(name):
                run = run_profiled([SCENARIOS, "threads", "3"])
                self.assertSameBehaviour(plain, run)
                self.assertEqual(idle_log(run), ["[Initialize event]"])
                if os.path.exists(run.report_path):
                    self.assertFalse(run.report()["stack_walker_set"])

    def test_without_debug_variable_no_log_file_is_created(self):
        run = self.run_profiled([SCENARIOS, "hello"], log=False)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(sorted(os.listdir(run.workdir)), ["jit", "report.json"])


@on_the_sdk_runtime_only
class ProgramsNobodyHereWrote(ProfilerTestCase):
    def test_sdk_tools_behave_as_without_the_profiler(self):
        for args in (["nuget", "--help"], ["new", "list", "console"]):
            plain = self.run_plain(args)
            run = self.run_profiled(args)
            self.assertSameBehaviour(plain, run)
            lines = run.log_lines()
            self.assertEqual(lines[1], "  initialization succeeded")
            self.assertTrue(headers(lines, "JitCompilationStarted"))
            report = run.report()
            self.assertEqual(report["runtime_guard"]["imbalances"], [])


if __name__ == "__main__":
    unittest.main()
