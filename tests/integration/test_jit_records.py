"""JIT records written inside real .NET programs, checked against what the
runtime itself reports about its compiled code: the perf map
(/tmp/perf-<pid>.map style "start size name" lines) for where each body lies,
and the jitdump file for its code bytes.

Runtime settings used here, as observed on .NET 10:
- DOTNET_PerfMapEnabled=1 writes the perf map and the jitdump file, 2 the
  jitdump file only, 3 the perf map only; DOTNET_PerfMapJitDumpPath chooses
  their directory (default /tmp). None of them leaves out the runtime's stubs
  ("stub" first in the name), and the jitdump file then ends in the middle of
  the first 64 KiB stub block. DOTNET_PerfMapStubGranularity=4 leaves the
  stubs out of both, so they hold compiled method bodies only and the
  jitdump file is complete. The tier of each body is shown in brackets
  ([QuickJitted], [InstrumentedTier], [OptimizedTier1], [OptimizedTier1OSR]).
- Dynamic methods and IL stubs ("dynamicClass::" in the map) are reported
  to a profiler only through callback interfaces this one does not answer.
- Bodies compiled after the runtime closed its perf map at shut-down are
  reported to the profiler but never listed.
- Precompiled (ReadyToRun) code is not in the map. When the runtime compiles
  such a method again, the precompiled body is listed beside the new one and
  gets a record too; DOTNET_ReadyToRun=0 makes every body a JIT-compiled one.
"""

import json
import os
import re
import struct
import subprocess
import tempfile
import unittest

from harness import DIST, ProfilerTestCase, program

JITMANY = program("JitMany")
JITDUMP_TOOL = os.path.join(DIST, "veskmrte-jitdump")
JITDUMP_MAGIC = 0x4A695444
JIT_CODE_LOAD = 0

# Hot methods reach the optimised tier within the run, without waiting for
# start-up to settle first.
PROMPT_TIERING = {"DOTNET_TC_CallCountingDelayMs": "0"}


def perf_map(path):
    """(start, size, name) of each compiled body in a perf map, without the
    runtime's stubs and the dynamic methods a profiler never hears of."""
    out = []
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            start, size, name = line.rstrip("\n").split(" ", 2)
            if name.startswith(("stub ", "stub<")) or "dynamicClass::" in name:
                continue
            out.append((int(start, 16), int(size, 16), name))
    return out


def jitdump_code(path):
    """Code address -> code bytes of each code-load record in a jitdump file."""
    with open(path, "rb") as f:
        data = f.read()
    magic, _version, header_size = struct.unpack_from("<III", data, 0)
    assert magic == JITDUMP_MAGIC, path
    code = {}
    offset = header_size
    while offset + 16 <= len(data):
        kind, total, _time = struct.unpack_from("<IIQ", data, offset)
        if total < 16 or offset + total > len(data):
            break
        if kind == JIT_CODE_LOAD:
            _pid, _tid, _vma, address, size, _index = struct.unpack_from("<IIQQQQ", data, offset + 16)
            name_end = data.index(b"\0", offset + 56)
            code[address] = data[name_end + 1:name_end + 1 + size]
        offset += total
    return code


def jit_file_records(path):
    out = subprocess.run([JITDUMP_TOOL, "--json", "--code", path], capture_output=True, text=True, timeout=120)
    assert out.returncode == 0, out.stderr
    return json.loads(out.stdout)["records"]


def start_of(record):
    return int(record["codeRanges"][0]["start"], 16)


def total_size(record):
    return sum(r["size"] for r in record["codeRanges"])


class Process:
    """What one profiled process left: its JIT records, perf map and jitdump."""

    def __init__(self, jit_file, perf_dir):
        self.pid = int(re.match(r"veskmrte-(\d+)-", os.path.basename(jit_file)).group(1))
        self.records = jit_file_records(jit_file)
        self.bodies = perf_map(os.path.join(perf_dir, "perf-%d.map" % self.pid))
        self.code = jitdump_code(os.path.join(perf_dir, "jit-%d.dump" % self.pid))

    def records_at(self):
        return {start_of(r): r for r in self.records}

    def bodies_named(self, text):
        return [b for b in self.bodies if text in b[2]]


class JitRecordsTestCase(ProfilerTestCase):
    def run_with_perf_map(self, args, extra_env=None):
        perf_dir = tempfile.mkdtemp(prefix="veskmrte-perf-")
        self._dirs.append(perf_dir)
        env = {"DOTNET_PerfMapEnabled": "1", "DOTNET_PerfMapStubGranularity": "4",
               "DOTNET_PerfMapJitDumpPath": perf_dir}
        env.update(extra_env or {})
        run = self.run_profiled(args, extra_env=env)
        self.assertEqual(run.returncode, 0, run.stderr)
        files = run.jit_files()
        self.assertTrue(files)
        return run, [Process(f, perf_dir) for f in files]

    def assertRecordsMatchRuntime(self, process, precompiled_allowed=True):
        """One record per compiled body, at the body's address, of its size,
        with its code bytes; records the map does not list are precompiled
        bodies of methods that were compiled again."""
        records = process.records_at()
        self.assertEqual(len(records), len(process.records), "two records for one body")
        for start, size, name in process.bodies:
            self.assertIn(start, records, "no record for %s at %#x" % (name, start))
            record = records[start]
            self.assertEqual(total_size(record), size, name)
            first = record["codeRanges"][0]
            self.assertIn(start, process.code, "the jitdump file lacks %s" % name)
            self.assertEqual(bytes.fromhex(first["code"]), process.code[start][:first["size"]], name)
        for record in process.records:
            self.assertRecordIsWellFormed(record)
        listed = {b[0] for b in process.bodies}
        # The runtime closes its perf map at shut-down and still compiles
        # after that (a method promoted during shut-down): records after the
        # last listed one may describe such bodies.
        last_listed = max(i for i, r in enumerate(process.records) if start_of(r) in listed)
        extra = [r for r in process.records[:last_listed] if start_of(r) not in listed]
        if not precompiled_allowed:
            self.assertEqual(extra, [])
        compiled_methods = {(r["moduleId"], r["methodToken"]) for r in process.records if start_of(r) in listed}
        for record in extra:
            self.assertIn((record["moduleId"], record["methodToken"]), compiled_methods,
                          "a record for code the runtime never compiled: %s" % record)

    def assertRecordIsWellFormed(self, record):
        size = total_size(record)
        self.assertGreater(size, 0)
        for block in record["codeRanges"]:
            self.assertEqual(block["copiedSize"], block["size"])
            self.assertEqual(len(bytes.fromhex(block["code"])), block["size"])
        # The runtime lists the entries in IL order, not native order; their
        # native ranges lie in the body and never overlap.
        spans = sorted((e["nativeStart"], e["nativeEnd"]) for e in record["ilMap"])
        for (_, end), (next_start, _) in zip(spans, spans[1:]):
            self.assertLessEqual(end, next_start, record["ilMap"])
        for entry in record["ilMap"]:
            self.assertLessEqual(entry["nativeStart"], entry["nativeEnd"])
            self.assertLessEqual(entry["nativeEnd"], size)
            self.assertNotIn(entry["ilOffset"], (0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFD, 0xFDFDFDFD))
        self.assertIn("IL-map", record["flagNames"])
        self.assertIn("code-ranges", record["flagNames"])


class EveryCodeBody(JitRecordsTestCase):
    def test_each_tier_of_each_method_has_one_record_and_the_tool_gets_each_range_once(self):
        # Without precompiled code every body is a JIT-compiled one, so
        # records and the perf map's bodies correspond one to one.
        plain = self.run_plain([JITMANY, "tiers", "20"])
        run, (process,) = self.run_with_perf_map(
            [JITMANY, "tiers", "20"], dict(PROMPT_TIERING, DOTNET_ReadyToRun="0", MRTE_ACTIVATE_OFFLINE_STACKWALKER=""))
        self.assertSameBehaviour(plain, run)
        self.assertGreater(len(process.bodies), 500)
        self.assertRecordsMatchRuntime(process, precompiled_allowed=False)
        hot = process.bodies_named("JitMany.Tiers::Hot(")
        self.assertGreaterEqual(len(hot), 2, "the runtime compiled Hot at one tier only: %s" % hot)
        self.assertTrue(any("[OptimizedTier1]" in b[2] for b in hot), hot)
        records = process.records_at()
        tokens = {records[b[0]]["methodToken"] for b in hot}
        self.assertEqual(len(tokens), 1)
        with_token = [r for r in process.records if r["methodToken"] in tokens
                      and r["moduleFileName"].endswith("JitMany.dll")]
        self.assertEqual(len(with_token), len(hot))

        report = run.report()
        given = [(r["start"], r["end"]) for r in report["code_ranges"]]
        recorded = [(int(b["start"], 16), int(b["start"], 16) + b["size"])
                    for r in process.records for b in r["codeRanges"]]
        self.assertEqual(report["code_range_duplicates"], 0)
        self.assertEqual(sorted(given), sorted(recorded))
        self.assertEqual(len(set(recorded)), len(recorded))

    def test_on_stack_replacement_body_is_recorded(self):
        run, (process,) = self.run_with_perf_map([JITMANY, "osr"])
        self.assertIn("osr sum=", run.stdout)
        self.assertRecordsMatchRuntime(process)
        loop = process.bodies_named("JitMany.Tiers::RunLoop(")
        replaced = [b for b in loop if "[OptimizedTier1OSR]" in b[2]]
        self.assertEqual(len(replaced), 1, loop)
        self.assertIn(replaced[0][0], process.records_at())

    def test_thousands_of_methods_are_each_recorded(self):
        run, (process,) = self.run_with_perf_map([JITMANY, "bulk"])
        self.assertIn("bulk methods=5000", run.stdout)
        self.assertGreaterEqual(len(process.bodies_named("JitMany.BulkMethods::M")), 5000)
        self.assertRecordsMatchRuntime(process)


class ModulesAndTimeStamps(JitRecordsTestCase):
    def test_records_name_the_module_file_where_there_is_one(self):
        plain = self.run_plain([JITMANY, "dynamic", "6"])
        run, (process,) = self.run_with_perf_map([JITMANY, "dynamic", "6"])
        self.assertSameBehaviour(plain, run)
        self.assertRecordsMatchRuntime(process)
        # Methods of emitted collectible assemblies have no module file.
        emitted = [process.records_at()[b[0]] for b in process.bodies_named("[Emitted")]
        self.assertEqual(len(emitted), 6 * 20)
        for record in emitted:
            self.assertNotIn("module-file-name", record["flagNames"])
            self.assertEqual(int(record["registeredModuleId"], 16), 0)
            self.assertGreater(record["timestamp"], 0, "compilations carry the tool's time")
        main = [process.records_at()[b[0]] for b in process.bodies_named("JitMany.Program::Main(")]
        self.assertEqual(len(main), 1)
        self.assertTrue(main[0]["moduleFileName"].endswith("/JitMany/JitMany.dll"))
        self.assertEqual(main[0]["registeredModuleId"], main[0]["moduleId"])
        self.assertEqual(sorted(main[0]["flagNames"]),
                         sorted(["module", "class", "code-ranges", "module-file-name", "IL-map"]))
        # Only the offline stack walker's switch gives the tool code ranges.
        self.assertEqual(run.report()["code_ranges"], [])


class ProgramsNobodyHereWrote(JitRecordsTestCase):
    def test_sdk_tool_fully_jit_compiled_has_one_record_per_body(self):
        plain = self.run_plain(["nuget", "--help"])
        run, processes = self.run_with_perf_map(["nuget", "--help"], {"DOTNET_ReadyToRun": "0"})
        self.assertSameBehaviour(plain, run)
        self.assertGreater(sum(len(p.bodies) for p in processes), 2000)
        for process in processes:
            self.assertRecordsMatchRuntime(process, precompiled_allowed=False)


if __name__ == "__main__":
    unittest.main()
