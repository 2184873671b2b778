"""What the profiler writes and loads cannot be turned against the user who
runs it: names planted by another user in a shared sticky directory are never
written through, the JIT file is the user's own, a tool directory others can
write is refused, and the JIT file keeps every record when the program is
killed. The runtime's perf map is the independent list of compiled bodies."""

import json
import os
import random
import shutil
import signal
import stat
import subprocess
import tempfile
import unittest

from harness import DIST, LAUNCHER, PROFILER_NAME, ProfilerTestCase, TIMEOUT, program
from test_jit_records import JITDUMP_TOOL, JITMANY, Process, start_of, total_size

SCENARIOS = program("Scenarios")
SETPRIV = shutil.which("setpriv")


def log_lines(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return [l for l in f.read().split("\n") if l]


class RefusedToolDirectory(ProfilerTestCase):
    """A directory or library others can write would let them run code in
    every profiled program."""

    CASES = [
        # (what is opened up, its group, its mode, the reason the log must give)
        ("", 0, 0o777, "is writable by every user"),
        ("vesktool.so", 0, 0o666, "vesktool.so is writable by every user"),
        ("tavoli_cie_1.0.so", 100, 0o775, "tavoli_cie_1.0.so is writable by group 100"),
    ]

    def test_a_directory_or_library_others_can_write_is_refused(self):
        plain = self.run_plain([SCENARIOS, "threads", "3"])
        for opened, group, mode, reason in self.CASES:
            with self.subTest(opened=opened or "the directory"):
                tools = os.path.join(self.workdir(), "tools")
                shutil.copytree(DIST, tools)
                os.chown(os.path.join(tools, opened), -1, group)
                os.chmod(os.path.join(tools, opened), mode)
                run = self.run_with_profiler_at(os.path.join(tools, PROFILER_NAME), [SCENARIOS, "threads", "3"])
                self.assertSameBehaviour(plain, run)
                lines = log_lines(run.log_path)
                self.assertEqual(lines[0], "[Initialize event]")
                self.assertRegex(lines[1], r"^  declined: the tool directory is refused: .*" + reason)
                self.assertFalse(any(l.startswith("[ModuleLoadFinished") for l in lines))


@unittest.skipUnless(os.geteuid() == 0 and SETPRIV, "needs root and setpriv to act as two other users")
class PlantedNames(ProfilerTestCase):
    """Run as one unprivileged user, with another user's links and files at
    every name in the shared directory the user asked for."""

    def setUp(self):
        super().setUp()
        # Numeric ids nobody uses: setpriv needs no account for them.
        base = random.randrange(40000, 59000, 2)
        self.victim, self.attacker = base, base + 1
        self.shared = self.own_dir(0, 0o1777)
        self.home = self.own_dir(self.victim, 0o700)
        self.precious = os.path.join(self.home, "precious")
        with open(self.precious, "w") as f:
            f.write("the user's own data\n")
        os.chown(self.precious, self.victim, self.victim)

    def own_dir(self, uid, mode):
        d = tempfile.mkdtemp(prefix="veskmrte-it-")
        self._dirs.append(d)
        os.chown(d, uid, uid)
        os.chmod(d, mode)
        return d

    def as_user(self, uid, command, env=None, **kwargs):
        return subprocess.run([SETPRIV, "--reuid=%d" % uid, "--regid=%d" % uid, "--clear-groups"] + command,
                              env=env, capture_output=True, text=True, timeout=TIMEOUT, **kwargs)

    def victim_env(self):
        env = self.base_env(self.home)
        env.update({"HOME": self.home, "DOTNET_CLI_HOME": self.home, "VESKMRTE_JIT_DIR": self.shared,
                    "TMPDIR": self.shared})
        return env

    def test_nothing_outside_is_written_and_the_jit_file_is_private(self):
        names = ["debug.log", "report.json"]
        for name in names:
            self.assertEqual(self.as_user(self.attacker, ["ln", "-s", self.precious,
                                                          os.path.join(self.shared, name)]).returncode, 0)
        args = ["dotnet", SCENARIOS, "threads", "3"]
        plain = self.as_user(self.victim, args, env=self.victim_env(), cwd=self.home)
        run = self.as_user(self.victim, [LAUNCHER, "--debug-log", os.path.join(self.shared, "debug.log"),
                                         "--report", os.path.join(self.shared, "report.json"), "--"] + args,
                           env=self.victim_env(), cwd=self.home)
        self.assertEqual(run.returncode, plain.returncode, run.stderr)
        self.assertEqual(run.stdout, plain.stdout)
        self.assertIn("cannot open the debug log", run.stderr)

        with open(self.precious) as f:
            self.assertEqual(f.read(), "the user's own data\n")
        for name in names:
            link = os.path.join(self.shared, name)
            self.assertTrue(os.path.islink(link), name)
            self.assertEqual(os.lstat(link).st_uid, self.attacker)
        jit_files = [n for n in os.listdir(self.shared) if n.endswith(".jit")]
        self.assertEqual(len(jit_files), 1, os.listdir(self.shared))
        info = os.lstat(os.path.join(self.shared, jit_files[0]))
        self.assertTrue(stat.S_ISREG(info.st_mode))
        self.assertEqual((info.st_uid, stat.S_IMODE(info.st_mode)), (self.victim, 0o600))
        dump = subprocess.run([JITDUMP_TOOL, "--summary", os.path.join(self.shared, jit_files[0])],
                              capture_output=True, text=True, timeout=60)
        self.assertEqual(dump.returncode, 0, dump.stderr)


class KilledProgram(ProfilerTestCase):
    """SIGKILL runs no code of the process: records must already be in the
    file, as the runtime's perf map lists its bodies."""

    def test_a_killed_program_leaves_a_record_for_every_listed_body(self):
        workdir = self.workdir()
        perf_dir = os.path.join(workdir, "perf")
        os.makedirs(perf_dir)
        env = self.base_env(workdir)
        env.update({"DOTNET_PerfMapEnabled": "1", "DOTNET_PerfMapStubGranularity": "4",
                    "DOTNET_PerfMapJitDumpPath": perf_dir})
        child = subprocess.Popen([LAUNCHER, "dotnet", JITMANY, "bulk-wait"], cwd=workdir, env=env,
                                 stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        try:
            lines = [child.stdout.readline(), child.stdout.readline()]
            self.assertEqual(lines[1], "ready\n", lines)
        finally:
            child.send_signal(signal.SIGKILL)
            child.communicate(timeout=TIMEOUT)
        self.assertEqual(child.returncode, -signal.SIGKILL)

        jit_file, = self.jit_files_of(workdir)
        dump = subprocess.run([JITDUMP_TOOL, "--json", "--summary", jit_file], capture_output=True, text=True,
                              timeout=120)
        self.assertEqual(dump.returncode, 0, dump.stderr)
        summary = json.loads(dump.stdout)
        self.assertEqual((summary["complete"], summary["closed"]), (True, False))

        process = Process(jit_file, perf_dir)
        self.assertGreater(len(process.bodies), 5000, "the perf map lists the bulk methods")
        records = process.records_at()
        missing = [(hex(start), name) for start, size, name in process.bodies if start not in records]
        self.assertEqual(missing, [])
        for start, size, name in process.bodies:
            self.assertEqual(total_size(records[start]), size, name)

    def jit_files_of(self, workdir):
        jit_dir = os.path.join(workdir, "jit")
        return [os.path.join(jit_dir, n) for n in os.listdir(jit_dir)]


if __name__ == "__main__":
    unittest.main()
