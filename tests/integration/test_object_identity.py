"""Object identities that survive garbage collections, as the tool's report
shows them: the wrappers name each object they work on by its identity."""

import unittest

from harness import ProfilerTestCase, program

SYNC_APIS = program("SyncApis")
ENTER = "System.Threading.Monitor.Enter"


def locks_by_label(stdout):
    """label -> times the program locked that object (its LOCKS line)."""
    line = [l for l in stdout.splitlines() if l.startswith("LOCKS ")][-1]
    return {k: int(v) for k, v in (item.split("=") for item in line.split()[1:])}


class ObjectIdentity(ProfilerTestCase):
    def check_identities(self, extra_env=None):
        plain = self.run_plain([SYNC_APIS, "objects"])
        run = self.run_profiled([SYNC_APIS, "objects"], extra_env=extra_env)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual([l for l in run.stdout.splitlines() if not l.startswith(("PID", "COUNTS"))],
                         [l for l in plain.stdout.splitlines() if not l.startswith(("PID", "COUNTS"))])
        objects = run.report()["objects"]
        enters = sorted(calls.get(ENTER, 0) for calls in objects.values())
        # Each object the program locked shows up under exactly one identity
        # with all its locks: an object that got a new identity after a
        # collection would split its count over two.
        self.assertEqual(enters, sorted(locks_by_label(run.stdout).values()))
        self.assertEqual(len(objects), len(set(objects)))
        for identity in objects:
            self.assertGreater(int(identity), 0)

    def test_objects_keep_one_identity_across_compacting_collections(self):
        self.check_identities()

    def test_identities_hold_with_the_server_collector(self):
        self.check_identities({"DOTNET_gcServer": "1"})


if __name__ == "__main__":
    unittest.main()
