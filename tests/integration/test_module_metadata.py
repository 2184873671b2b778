"""Module-load processing on real assemblies: what the profiler finds in each
module's metadata, checked against an independent reading of the same files."""

import json
import os
import subprocess
import unittest

from debug_log import loaded_wrappers, module_loads, sync_api_blocks
from harness import DIST, ProfilerTestCase, on_the_sdk_runtime_only, program

SYNC_APIS = program("SyncApis")
SCENARIOS = program("Scenarios")


def member_refs(assembly_path):
    """(assembly, type, name) -> member reference count, read by MetaRefs."""
    out = subprocess.run(["dotnet", program("MetaRefs"), assembly_path], capture_output=True, text=True, check=True)
    refs = {}
    for line in out.stdout.splitlines():
        entry = json.loads(line)
        refs[(entry["assembly"], entry["type"], entry["name"])] = entry["count"]
    return refs


def module_event(lines, file_name):
    return [e for name, e in module_loads(lines) if os.path.basename(name) == file_name]


class ModuleMetadata(ProfilerTestCase):
    def test_sync_apis_found_per_module_match_the_modules_own_references(self):
        run = self.run_profiled([SYNC_APIS, "all"])
        self.assertEqual(run.returncode, 0, run.stderr)
        lines = run.log_lines()
        wrappers = loaded_wrappers(lines)
        self.assertIn(("System.Threading", "System.Threading.Monitor", "Enter"), wrappers)
        self.assertIn("  loading the wrappers succeeded", lines)

        [event] = module_event(lines, "SyncApis.dll")
        blocks = sync_api_blocks(event)
        refs = member_refs(SYNC_APIS)
        expected = {key: n for key, n in refs.items() if key in wrappers}
        self.assertTrue(expected)
        found = {(b["assembly"], b["class"], b["method"]): b for b in blocks}
        self.assertEqual(set(found), set(expected))
        for key, block in found.items():
            self.assertEqual(block["count"], expected[key], key)
            self.assertEqual(block["tokens"], [], "references wait for a call site that needs them")
        # Wrapper references are defined when a compiled method's call first
        # needs them, and only those are: fewer than the overloads the module
        # names. (Tokens are per module, so two modules may define the same.)
        defined = [int(l.split("=", 1)[1], 16) for l in lines if l.startswith("      defined wrapper ref token=")]
        used = {int(l.rsplit("=", 1)[1], 16) for l in lines if l.startswith("      mnemonic=")}
        self.assertTrue(used)
        self.assertLessEqual(used, set(defined))
        # Member references, and instantiations of generic wrappers.
        self.assertTrue(all(token >> 24 in (0x0A, 0x2B) for token in defined))
        self.assertLess(len([t for t in defined if t >> 24 == 0x0A]), sum(wrappers[key] for key in found))
        self.assertEqual(event.lines[-1],
                         "  searching completed. detected sync api are defined as references for this module")
        [core] = module_event(lines, "System.Private.CoreLib.dll")
        self.assertEqual(core.lines[-1], "  module from the forbidden module list")

    def test_a_dynamic_module_is_not_processed(self):
        plain = self.run_plain([SCENARIOS, "dynamic"])
        run = self.run_profiled([SCENARIOS, "dynamic"])
        self.assertSameBehaviour(plain, run)
        # Lines of events on other threads may fall between a header and its
        # details, so the line is looked for, not its position.
        lines = run.log_lines()
        self.assertIn("  don't process dynamic module", lines)
        self.assertFalse([l for l in lines if l.startswith("  name=") and "Generated" in l])

    def test_without_the_resolver_hook_no_module_gains_wrapper_references(self):
        # The launcher always adds its hook; the runtime's own variables alone
        # leave the wrapper assembly unresolvable.
        run = self.run_with_profiler_at(os.path.join(DIST, "orvane_veskmrte_clrprof_1.0.so"), [SYNC_APIS, "all"])
        self.assertEqual(run.returncode, 0, run.stderr)
        [event] = module_event(run.log_lines(), "SyncApis.dll")
        self.assertEqual(event.lines[-1], "  the wrapper assembly cannot be resolved in this process. no redirection")


@on_the_sdk_runtime_only
class ProgramsNobodyHereWrote(ProfilerTestCase):
    def test_sdk_tools_behave_as_without_the_profiler_and_process_each_module_once(self):
        for args in (["nuget", "--help"], ["new", "list", "console"]):
            plain = self.run_plain(args)
            run = self.run_profiled(args)
            self.assertSameBehaviour(plain, run)
            self.assertEqual(run.log_lines()[1], "  initialization succeeded")
            self.assertEqual(run.report()["runtime_guard"]["imbalances"], [])
            processed = {}
            for name, event in module_loads(run.log_lines()):
                if "  the module was already processed" in event.lines:
                    continue
                processed[name] = processed.get(name, 0) + 1
                # Modules load on several threads; a line of another load
                # may stand in for one of this block's.
                for block in sync_api_blocks(event):
                    if "count" in block:
                        self.assertGreaterEqual(block["count"], 1)
            self.assertTrue(processed)
            self.assertEqual([n for n, c in processed.items() if c > 1], [])


if __name__ == "__main__":
    unittest.main()
