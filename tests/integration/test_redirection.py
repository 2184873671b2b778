"""Redirection end to end: programs run under the launcher call the wrappers
instead of the synchronisation APIs they were written against, and the tool
sees every such call."""

import json
import os
import re
import shutil
import subprocess
import unittest

from debug_log import events
from harness import DIST, PROFILER_NAME, PROGRAMS, RUNTIME, ProfilerTestCase, on_the_sdk_runtime_only, program

SYNC_APIS = program("SyncApis")


def program_counts(stdout):
    """The counts the program kept itself (its COUNTS line)."""
    line = [l for l in stdout.splitlines() if l.startswith("COUNTS ")][-1]
    return json.loads(line[len("COUNTS "):])


def without_counts(stdout):
    """The output a program prints besides its own counts, which vary with
    timing (a wait that returns early), and its process id."""
    return [l for l in stdout.splitlines() if not l.startswith("COUNTS ") and not l.startswith("PID ")]


def program_report(run):
    """The tool's report of the program's own process, when a run starts
    several processes that each write one (VESKTOOL_REPORT with %p)."""
    pid = [l for l in run.stdout.splitlines() if l.startswith("PID ")][-1].split()[1]
    with open(os.path.join(run.workdir, "report-%s.json" % pid), encoding="utf-8") as f:
        return json.load(f)


def tool_counts(report):
    return {name: entry["calls"] for name, entry in report["events"].items()}


def assert_tool_saw_what_the_program_did(test, run, report=None):
    """The tool's counts per API equal the program's own, and every call is
    attributed to a managed thread."""
    test.assertEqual(run.returncode, 0, run.stderr)
    report = report or run.report()
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
        lines = run.log_lines()
        self.assertIn("  completed instrumentation", lines)
        self.assertIn("  nothing to instrument", lines)
        # Each replaced call names its opcode and the wrapper reference it now
        # calls. Concurrent compilations interleave their lines in the log,
        # so a method's apply is not always next to its replacements.
        replaced = [l for l in lines if l.startswith("      mnemonic=")]
        for line in replaced:
            self.assertRegex(line, r"^      mnemonic=0x(28|6f|73); operand=0x[0-9a-f]+"
                                   r"      wrapper ref token=0xa[0-9a-f]{6}$")
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

    @on_the_sdk_runtime_only
    def test_dotnet_run(self):
        project = self.workdir()
        source = os.path.join(os.path.dirname(__file__), "..", "programs", "SyncApis")
        for name in os.listdir(source):
            if name.endswith(".cs") or name.endswith(".csproj"):
                shutil.copy(os.path.join(source, name), project)
        shutil.copy(os.path.join(source, "..", "..", "..", "managed", "Directory.Build.props"), project)
        build = subprocess.run(["dotnet", "build", project, "-c", "Release", "--nologo", "-v", "quiet"],
                               capture_output=True, text=True, env=self.base_env(project))
        self.assertEqual(build.returncode, 0, build.stdout + build.stderr)
        # The command-line tool runs under the profiler too, and so writes a
        # report of its own.
        run = self.run_profiled(["run", "--no-build", "-c", "Release", "--project", project, "--", "all"],
                                extra_env={"VESKTOOL_REPORT": os.path.join(project, "report-%p.json")})
        run.workdir = project
        assert_tool_saw_what_the_program_did(self, run, program_report(run))



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
