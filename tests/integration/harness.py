"""Runs .NET programs with and without the profiler and reads what it left:
the debug log, the tool library's JSON report and the program's own output."""

import json
import os
import re
import shutil
import subprocess
import tempfile
import unittest

DIST = os.environ["VESK_DIST_DIR"]
PROGRAMS = os.environ["VESK_PROGRAMS_DIR"]
LAUNCHER = os.path.join(DIST, "veskmrte-run")
PROFILER_NAME = "orvane_veskmrte_clrprof_1.0.so"
PROFILER_GUID = "{5B1E0C47-93A2-4D6E-8F15-2C7A9D0E4B36}"
TIMEOUT = 180
# The runtime the programs run on: "sdk" for the SDK's own, else the target
# framework they were published for, self-contained (`dotnet NAME.dll` then
# runs them on the runtime published beside them).
RUNTIME = os.environ.get("VESK_RUNTIME", "sdk")

# Variables of ours or the runtime's that must not leak in from the caller.
_CLEARED = ("VESKMRTE_DEBUG", "VESKTOOL_REPORT", "VESKTOOL_FAIL", "VESKTOOL_STACK_WALK_MODE",
            "MRTE_ACTIVATE_OFFLINE_STACKWALKER", "CORECLR_ENABLE_PROFILING", "CORECLR_PROFILER",
            "CORECLR_PROFILER_PATH", "CORECLR_PROFILER_PATH_64", "VESKMRTE_JIT_DIR")


def program(name):
    return os.path.join(PROGRAMS, name, name + ".dll")


def on_the_sdk_runtime_only(test):
    """For tests whose programs run on the SDK's runtime whatever the suite's
    runtime is (the SDK's own commands, projects built on the spot): running
    them once is enough."""
    return unittest.skipUnless(RUNTIME == "sdk", "runs on the SDK's runtime only")(test)


class Run:
    def __init__(self, completed, workdir):
        self.returncode = completed.returncode
        self.stdout = completed.stdout
        self.stderr = completed.stderr
        self.workdir = workdir
        self.log_path = os.path.join(workdir, "debug.log")
        self.report_path = os.path.join(workdir, "report.json")

    def log_lines(self):
        with open(self.log_path, encoding="utf-8", errors="replace") as f:
            return f.read().split("\n")

    def report(self):
        with open(self.report_path, encoding="utf-8") as f:
            return json.load(f)

    def jit_files(self):
        jit_dir = os.path.join(self.workdir, "jit")
        return [os.path.join(jit_dir, n) for n in os.listdir(jit_dir)] if os.path.isdir(jit_dir) else []


_plain_runs = {}


class ProfilerTestCase(unittest.TestCase):
    def setUp(self):
        self._dirs = []

    def tearDown(self):
        for d in self._dirs:
            shutil.rmtree(d, ignore_errors=True)

    def workdir(self):
        d = tempfile.mkdtemp(prefix="veskmrte-it-")
        self._dirs.append(d)
        os.makedirs(os.path.join(d, "jit"))
        return d

    def tool_dir_without(self, missing):
        """A copy of the tool directory without one of its files."""
        d = self.workdir()
        for name in os.listdir(DIST):
            path = os.path.join(DIST, name)
            if name != missing and os.path.isfile(path):
                shutil.copy2(path, os.path.join(d, name))
        return d

    def base_env(self, workdir):
        env = {k: v for k, v in os.environ.items() if k not in _CLEARED}
        env["DOTNET_CLI_TELEMETRY_OPTOUT"] = "1"
        env["DOTNET_NOLOGO"] = "1"
        env["VESKMRTE_JIT_DIR"] = os.path.join(workdir, "jit")
        return env

    def run_plain(self, args):
        """The program's run without the profiler: made once per suite for
        each command line, as only its exit code and output are compared."""
        key = tuple(args)
        if key not in _plain_runs:
            workdir = self.workdir()
            completed = subprocess.run(["dotnet"] + args, cwd=workdir, env=self.base_env(workdir),
                                       capture_output=True, text=True, timeout=TIMEOUT)
            _plain_runs[key] = Run(completed, workdir)
        return _plain_runs[key]

    def run_profiled(self, args, log=True, report=True, extra_env=None, launcher=LAUNCHER, options=(),
                     command=("dotnet",)):
        """Runs `dotnet ARGS` (or COMMAND ARGS) under the launcher with its
        OPTIONS, with the debug log and the tool's report in a fresh
        directory."""
        workdir = self.workdir()
        env = self.base_env(workdir)
        if log:
            env["VESKMRTE_DEBUG"] = os.path.join(workdir, "debug.log")
        if report:
            env["VESKTOOL_REPORT"] = os.path.join(workdir, "report.json")
        env.update(extra_env or {})
        completed = subprocess.run([launcher] + list(options) + list(command) + args, cwd=workdir, env=env,
                                   capture_output=True, text=True, timeout=TIMEOUT)
        return Run(completed, workdir)

    def run_with_profiler_at(self, profiler_path, args, extra_env=None):
        """Runs with the runtime's profiler variables pointing at a given
        copy of the profiler, without the launcher."""
        workdir = self.workdir()
        env = self.base_env(workdir)
        env.update({"CORECLR_ENABLE_PROFILING": "1", "CORECLR_PROFILER": PROFILER_GUID,
                    "CORECLR_PROFILER_PATH": profiler_path,
                    "VESKMRTE_DEBUG": os.path.join(workdir, "debug.log")})
        env.update(extra_env or {})
        completed = subprocess.run(["dotnet"] + args, cwd=workdir, env=env,
                                   capture_output=True, text=True, timeout=TIMEOUT)
        return Run(completed, workdir)

    def assertSameBehaviour(self, plain, profiled):
        self.assertEqual(profiled.returncode, plain.returncode, profiled.stderr)
        self.assertEqual(profiled.stdout, plain.stdout)


HEX = r"0x[0-9a-f]+|0"


def headers(lines, name):
    """The header lines of one event kind."""
    return [l for l in lines if l.startswith("[" + name + " event]")]


def numbers_after(lines, label):
    """The numbers logged on detail lines that start with label."""
    out = []
    for l in lines:
        m = re.fullmatch(re.escape(label) + "(" + HEX + ")", l)
        if m:
            out.append(int(m.group(1), 16))
    return out
