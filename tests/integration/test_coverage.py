"""The coverage tool's account of a program's call sites against what the
profiler did to the same program."""

import os
import subprocess
import unittest

from debug_log import events
from harness import DIST, ProfilerTestCase, program

SYNC_APIS = program("SyncApis")
COVERAGE = os.path.join(DIST, "veskmrte-coverage")


def coverage_sites(assembly):
    out = subprocess.run([COVERAGE, "--sites", assembly], capture_output=True, text=True, check=True).stdout
    sites = [line[len("SITE "):].split("\t") for line in out.splitlines() if line.startswith("SITE ")]
    return sites, out.splitlines()[-1]


class Coverage(ProfilerTestCase):
    def test_the_sites_called_covered_are_the_ones_the_profiler_rewrites(self):
        sites, summary = coverage_sites(SYNC_APIS)
        covered = {int(token, 16) for _, token, _, outcome in sites if outcome == "covered"}
        left = {int(token, 16) for _, token, _, outcome in sites if outcome != "covered"}
        self.assertTrue(covered)
        self.assertRegex(summary, r"^sites \d+, unwrapped by design \d+, reach a wrapper \d+ of \d+ \(\d+\.\d %\)$")

        runs = [self.run_profiled([SYNC_APIS] + scenario) for scenario in (["all"], ["hot", "100"], ["async"])]
        for run in runs:
            self.assertEqual(run.returncode, 0, run.stderr)
        replaced = set()
        rewritten = set()
        for lines in (run.log_lines() for run in runs):
            ids = {e.value("  id=") for e in events(lines, "ModuleLoadFinished")
                   if (e.value("  name=") or "").endswith("SyncApis.dll")}
            # Other threads' lines may fall between a compilation's lines: a
            # replaced call is taken to belong to the compilation whose module
            # was named last. Now and then that is another thread's, so every
            # covered site need only be among the calls rewritten in any
            # module, which no interleaving hides.
            module = None
            for line in lines:
                if line.startswith("  module id="):
                    module = line[len("  module id="):]
                elif line.startswith("      mnemonic="):
                    token = int(line.split("operand=")[1].split()[0], 16)
                    rewritten.add(token)
                    if module in ids:
                        replaced.add(token)
        self.assertLessEqual(covered, rewritten)
        # A site is covered or left; none left may have been rewritten.
        self.assertFalse(replaced & left)

    def test_an_unreadable_file_is_reported_not_fatal(self):
        path = os.path.join(self.workdir(), "not-an-assembly.dll")
        with open(path, "wb") as f:
            f.write(b"MZ nothing here")
        done = subprocess.run([COVERAGE, path, SYNC_APIS], capture_output=True, text=True)
        self.assertEqual(done.returncode, 1)
        self.assertIn("not-an-assembly.dll: not readable as a .NET assembly", done.stderr)
        self.assertRegex(done.stdout.splitlines()[-1], r"^sites \d+")


if __name__ == "__main__":
    unittest.main()
