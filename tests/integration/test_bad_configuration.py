"""A mistake in the configuration gives a clear message and never changes
the program: each case runs the same program with and without the profiler
and compares what the program did."""

import os
import re
import shutil
import subprocess

from harness import DIST, PROFILER_NAME, ProfilerTestCase, TIMEOUT, program

SCENARIOS = program("Scenarios")
PROGRAM = [SCENARIOS, "threads", "3"]


def tool_dir_with(workdir, name, change):
    """A copy of the tool directory in which one file is changed."""
    tools = os.path.join(workdir, "tools")
    shutil.copytree(DIST, tools)
    change(os.path.join(tools, name))
    return os.path.join(tools, PROFILER_NAME)


def replace_with(source):
    return lambda path: shutil.copyfile(source, path)


class BadConfiguration(ProfilerTestCase):
    # (case, extra environment or tool-directory change, where the message
    # goes, what it says)
    CASES = [
        ("debug log in a missing directory", {"VESKMRTE_DEBUG": "/nonexistent/dir/debug.log"}, None,
         "stderr", r"veskmrte: cannot open the debug log /nonexistent/dir/debug\.log: No such file or directory"),
        ("JIT directory missing", {"VESKMRTE_JIT_DIR": "/nonexistent/jit"}, None,
         "log", r"  declined: cannot create the JIT file /nonexistent/jit/veskmrte-\d+-\S+\.jit: "
                r"No such file or directory"),
        ("JIT directory is a file", {"VESKMRTE_JIT_DIR": "/etc/hostname"}, None,
         "log", r"  declined: cannot create the JIT file /etc/hostname/veskmrte-\S+: Not a directory"),
        ("tool library that exports nothing", {}, ("vesktool.so", replace_with(
            os.path.join(DIST, "orvane_brisel_prof_utils_1.0.so"))),
         "log", r"  declined: the tool library \S+/vesktool\.so does not export vesk_get_profiling_extension"),
    ]

    def test_each_mistake_is_said_and_the_program_runs_unchanged(self):
        plain = self.run_plain(PROGRAM)
        for case, env, tool_change, where, message in self.CASES:
            with self.subTest(case=case):
                if tool_change:
                    profiler = tool_dir_with(self.workdir(), *tool_change)
                    run = self.run_with_profiler_at(profiler, PROGRAM, extra_env=env)
                else:
                    run = self.run_profiled(PROGRAM, extra_env=env)
                self.assertSameBehaviour(plain, run)
                text = run.stderr if where == "stderr" else "\n".join(run.log_lines())
                self.assertRegex(text, message)

    def test_a_corrupt_or_unwritable_registry_store_is_named_with_the_reason(self):
        workdir = self.workdir()
        corrupt = os.path.join(workdir, "registry.json")
        with open(corrupt, "w") as f:
            f.write('{"format": "veskmrte-registry", "version": 1, "keys": [')
        cases = [
            (corrupt, r"registry store \S+registry\.json is not valid JSON"),
            ("/nonexistent/dir/registry.json", r"cannot open lock file /nonexistent/dir/registry\.json\.lock: "
                                               r"No such file or directory"),
        ]
        for store, message in cases:
            with self.subTest(store=store):
                env = self.base_env(workdir)
                env["VESKMRTE_REGISTRY"] = store
                done = subprocess.run([os.path.join(DIST, "veskmrte-regsvr"), os.path.join(DIST, PROFILER_NAME)],
                                      env=env, capture_output=True, text=True, timeout=TIMEOUT)
                self.assertNotEqual(done.returncode, 0)
                self.assertRegex(done.stderr, "veskmrte: cannot register the profiler: " + message)
        with open(corrupt) as f:
            self.assertTrue(f.read().endswith('"keys": ['), "a corrupt store is left as it was")


class LauncherCommandLine(ProfilerTestCase):
    def test_options_become_the_programs_environment_and_mistakes_are_refused(self):
        launcher = os.path.join(DIST, "veskmrte-run")
        hook = os.path.join(os.path.realpath(DIST), "veskmrte_startup.dll")
        # (arguments, caller's extra environment, exit code, variables the
        # program sees, or the message on standard error)
        cases = [
            ([], {}, 0, {"DOTNET_STARTUP_HOOKS": hook, "VESKTOOL_OBJECTS": "0"}),
            # The caller's hooks stay, after ours and only once.
            ([], {"DOTNET_STARTUP_HOOKS": "/a.dll:" + hook}, 0, {"DOTNET_STARTUP_HOOKS": "/a.dll:" + hook}),
            ([], {"DOTNET_STARTUP_HOOKS": "/a.dll"}, 0, {"DOTNET_STARTUP_HOOKS": hook + ":/a.dll"}),
            (["--jit-framework", "--offline-stack-walker", "--debug-log", "d.log", "--"], {}, 0,
             {"DOTNET_ReadyToRun": "0", "MRTE_ACTIVATE_OFFLINE_STACKWALKER": "1", "VESKMRTE_DEBUG": "d.log"}),
            (["--report", "r.json"], {}, 0, {"VESKTOOL_REPORT": "r.json", "VESKTOOL_OBJECTS": None}),
            (["--bogus"], {}, 2, "veskmrte-run: unknown option --bogus (see --help)\n"),
            (["--report"], {}, 2, "veskmrte-run: --report needs a file\n"),
            (["--", "/nonexistent/program"], {}, 127,
             "veskmrte-run: cannot run /nonexistent/program: No such file or directory\n"),
        ]
        for args, extra, code, expected in cases:
            with self.subTest(args=args, env=extra):
                workdir = self.workdir()
                env = dict(self.base_env(workdir), **extra)
                command = [launcher] + args + ([] if code else ["/usr/bin/env", "-0"])
                run = subprocess.run(command, cwd=workdir, env=env, capture_output=True, timeout=TIMEOUT)
                self.assertEqual(run.returncode, code, run.stderr)
                if code:
                    self.assertEqual(run.stderr.decode(), expected)
                    continue
                seen = dict(v.split("=", 1) for v in run.stdout.decode().split("\0") if "=" in v)
                self.assertEqual(seen["CORECLR_PROFILER_PATH"], os.path.join(os.path.realpath(DIST), PROFILER_NAME))
                for name, value in expected.items():
                    self.assertEqual(seen.get(name), value, name)
