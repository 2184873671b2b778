"""However a profiled program ends, the tool's report is written wherever
code still runs, says how the program ended and holds every call the program
made; the program's exit code and output are those of a plain run."""

import json
import os
import signal
import subprocess
import unittest

from harness import LAUNCHER, TIMEOUT, ProfilerTestCase, Run, program

ENDING = program("Ending")
ENTER = "System.Threading.Monitor.Enter"


def default_signals():
    for sig in (signal.SIGINT, signal.SIGQUIT):
        signal.signal(sig, signal.SIG_DFL)


class ProcessEnd(ProfilerTestCase):
    def run_ending(self, mode, send=None, profiled=True):
        """Runs the Ending program in MODE; with SEND, sends that signal once
        the program has printed "ready"."""
        workdir = self.workdir()
        env = self.base_env(workdir)
        command = ["dotnet", ENDING, mode]
        if profiled:
            env["VESKMRTE_DEBUG"] = os.path.join(workdir, "debug.log")
            env["VESKTOOL_REPORT"] = os.path.join(workdir, "report.json")
            command = [LAUNCHER] + command
        # A shell's background jobs inherit SIGINT and SIGQUIT ignored, and
        # the runtime leaves ignored signals ignored: the program gets them
        # back at their defaults, in a session of its own.
        process = subprocess.Popen(command, cwd=workdir, env=env, stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE, text=True, start_new_session=True,
                                   preexec_fn=default_signals)
        try:
            if send is not None:
                lines = []
                while not lines or lines[-1] != "ready\n":
                    line = process.stdout.readline()
                    self.assertTrue(line, "the program ended before it was ready")
                    lines.append(line)
                process.send_signal(send)
                rest, err = process.communicate(timeout=TIMEOUT)
                out = "".join(lines) + rest
            else:
                out, err = process.communicate(timeout=TIMEOUT)
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()
        return Run(subprocess.CompletedProcess(command, process.returncode, out, err), workdir)

    def test_the_report_says_how_the_program_ended_and_holds_its_calls(self):
        cases = [
            # mode, signal, end, exception type
            ("return", None, "exit", None),
            ("exit", None, "exit", None),
            ("throw", None, "unhandled-exception", "System.InvalidOperationException"),
            ("throw-on-thread", None, "unhandled-exception", "System.TimeoutException"),
            # The runtime aborts without running any handler.
            ("failfast", None, "abort", None),
            ("wait", signal.SIGTERM, "sigterm", None),
            ("wait", signal.SIGINT, "sigint", None),
            ("wait", signal.SIGQUIT, "sigquit", None),
            # A program that cancels the signal goes on and ends normally.
            ("cancel-sigterm", signal.SIGTERM, "exit", None),
        ]
        for mode, send, end, exception in cases:
            with self.subTest(mode=mode, signal=send):
                plain = self.run_ending(mode, send, profiled=False)
                run = self.run_ending(mode, send)
                self.assertEqual(run.returncode, plain.returncode, run.stderr)
                self.assertEqual(run.stdout, plain.stdout)
                entered = int(run.stdout.split("\n")[0].split()[1])
                report = run.report()
                self.assertEqual(report["end"], end)
                # The exit code is known where the process exits rather than
                # dies of a signal; some runtimes exit after a termination
                # signal with 128 + its number.
                self.assertEqual(report["exit_code"], plain.returncode if plain.returncode >= 0 else None)
                self.assertEqual(report.get("end_detail"), exception)
                self.assertEqual(report["events"][ENTER]["calls"], entered)
                self.assertEqual(report["events"][ENTER]["returns"], entered)
                self.assertEqual(sum(calls.get(ENTER, 0) for calls in report["objects"].values()), entered)
                # Written straight out, or copied from the report an earlier
                # notice wrote, the per-object counts sit in the file as a
                # JSON dump lays them out, which readers may rely on.
                with open(run.report_path, encoding="utf-8") as f:
                    self.assertEqual(f.read(), json.dumps(report, indent=2, sort_keys=True, ensure_ascii=False) + "\n")
                # The debug log is written line by line up to the end.
                self.assertEqual(run.log_lines()[-1], "")

    def test_signals_ignored_by_the_caller_stay_ignored_in_the_program(self):
        # As nohup and a shell's background jobs leave them.
        probe = "import signal; print([signal.getsignal(s) == signal.SIG_IGN for s in %r])" % (
            [int(signal.SIGHUP), int(signal.SIGINT), int(signal.SIGQUIT), int(signal.SIGTERM)],)

        def ignore_some():
            for sig in (signal.SIGHUP, signal.SIGINT, signal.SIGQUIT):
                signal.signal(sig, signal.SIG_IGN)

        out = subprocess.run([LAUNCHER, "python3", "-c", probe], capture_output=True, text=True,
                             timeout=TIMEOUT, preexec_fn=ignore_some)
        self.assertEqual(out.stdout, "[True, True, True, False]\n", out.stderr)

    def test_sigkill_leaves_no_report_and_no_partial_file(self):
        run = self.run_ending("wait", signal.SIGKILL)
        self.assertEqual(run.returncode, -signal.SIGKILL)
        self.assertEqual(sorted(n for n in os.listdir(run.workdir) if n.startswith("report")), [])


if __name__ == "__main__":
    unittest.main()
