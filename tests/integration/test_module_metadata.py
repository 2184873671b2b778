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
PLAIN = program("Plain")


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
        all_tokens = []
        for key, block in found.items():
            self.assertEqual(block["count"], expected[key], key)
            # One wrapper reference per overload the module can name.
            self.assertGreaterEqual(len(block["tokens"]), 1, key)
            self.assertLessEqual(len(block["tokens"]), wrappers[key], key)
            all_tokens += block["tokens"]
        for token in all_tokens:
            self.assertEqual(token >> 24, 0x0A, hex(token))
        self.assertEqual(len(all_tokens), len(set(all_tokens)))
        self.assertEqual(event.lines[-1],
                         "  searching completed. detected sync api are defined as references for this module")
        [core] = module_event(lines, "System.Private.CoreLib.dll")
        self.assertEqual(core.lines[-1], "  module from the forbidden module list")

    def test_the_wrapper_assembly_joins_the_forbidden_list(self):
        wrapper_path = os.path.join(DIST, "veskmrte_clr40wrap.dll")
        plain = self.run_plain([SCENARIOS, "load-wrappers", wrapper_path])
        run = self.run_profiled([SCENARIOS, "load-wrappers", wrapper_path])
        self.assertSameBehaviour(plain, run)
        [event] = module_event(run.log_lines(), "veskmrte_clr40wrap.dll")
        self.assertEqual(event.lines[-1], "  module from the forbidden module list")

    def test_a_dynamic_module_is_not_processed(self):
        plain = self.run_plain([SCENARIOS, "dynamic"])
        run = self.run_profiled([SCENARIOS, "dynamic"])
        self.assertSameBehaviour(plain, run)
        # Lines of events on other threads may fall between a header and its
        # details, so the line is looked for, not its position.
        lines = run.log_lines()
        self.assertIn("  don't process dynamic module", lines)
        self.assertFalse([l for l in lines if l.startswith("  name=") and "Generated" in l])

    def test_a_module_without_sync_apis_logs_only_the_search_frame(self):
        plain = self.run_plain([PLAIN, "a", "bc"])
        run = self.run_profiled([PLAIN, "a", "bc"])
        self.assertSameBehaviour(plain, run)
        [event] = module_event(run.log_lines(), "Plain.dll")
        # The first module after the core library also loads the wrappers.
        search = event.lines.index("  start searching sync api this module refers to")
        self.assertEqual(sync_api_blocks(event), [])
        self.assertEqual(event.lines[-1],
                         "  searching completed. detected sync api are defined as references for this module")
        self.assertNotIn("    sync api", event.lines[search:])

    def test_without_the_resolver_hook_no_module_gains_wrapper_references(self):
        # The launcher always adds its hook; the runtime's own variables alone
        # leave the wrapper assembly unresolvable.
        run = self.run_with_profiler_at(os.path.join(DIST, "orvane_veskmrte_clrprof_1.0.so"), [SYNC_APIS, "all"])
        self.assertEqual(run.returncode, 0, run.stderr)
        [event] = module_event(run.log_lines(), "SyncApis.dll")
        self.assertEqual(event.lines[-1], "  the wrapper assembly cannot be resolved in this process. no redirection")


@on_the_sdk_runtime_only
class ProgramsNobodyHereWrote(ProfilerTestCase):
    def test_each_module_is_processed_once(self):
        for args in (["nuget", "--help"], ["new", "list", "console"]):
            plain = self.run_plain(args)
            run = self.run_profiled(args)
            self.assertSameBehaviour(plain, run)
            processed = {}
            for name, event in module_loads(run.log_lines()):
                if "  the module was already processed" in event.lines:
                    continue
                processed[name] = processed.get(name, 0) + 1
                for block in sync_api_blocks(event):
                    self.assertGreaterEqual(block["count"], 1)
                    for token in block["tokens"]:
                        self.assertEqual(token >> 24, 0x0A)
            self.assertTrue(processed)
            self.assertEqual([n for n, c in processed.items() if c > 1], [])


if __name__ == "__main__":
    unittest.main()
