"""veskmrte-symbolize names the frames of real programs the way the runtime
and the system's own tools do.

The oracle for managed frames is the program's own System.Diagnostics
StackTrace: each frame's method (as reflection names it), native offset in its
compiled body, IL offset, source file and line. With tiered compilation off
each method has one compiled body, so body start + native offset is the
frame's return address. The oracle for native frames is nm's symbol table.
"""

import json
import os
import subprocess
import unittest

from harness import DIST, ProfilerTestCase, program

SYMBOLIZE = os.path.join(DIST, "veskmrte-symbolize")
JITDUMP = os.path.join(DIST, "veskmrte-jitdump")
STACKNAMES = program("StackNames")
CHAINS = ("three-deep", "lambda", "generic-method", "generic-type", "constructor", "local-function", "thread")


def symbolize(args, env=None):
    return subprocess.run([SYMBOLIZE] + list(args), capture_output=True, text=True, timeout=120, env=env)


def nm_symbol(path, name):
    """(value, size) of a defined function symbol, as nm lists it."""
    out = subprocess.run(["nm", "-D", "-S", "--defined-only", path], capture_output=True, text=True, check=True)
    for line in out.stdout.splitlines():
        parts = line.split()
        if len(parts) == 4 and parts[3] == name:
            return int(parts[0], 16), int(parts[1], 16)
    raise AssertionError(name + " not in " + path)


class RealProgram(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # One run serves every check: the program, its report and JIT file.
        runner = ProfilerTestCase()
        runner.setUp()
        cls.addClassCleanup(runner.tearDown)
        cls.run_ = runner.run_profiled([STACKNAMES], log=False,
                                     extra_env={"DOTNET_TieredCompilation": "0"})
        assert cls.run_.returncode == 0, cls.run_.stderr
        line = next(l for l in cls.run_.stdout.splitlines() if l.startswith("STACKS "))
        cls.stacks = json.loads(line[len("STACKS "):])
        cls.report = cls.run_.report()
        [jit_file] = cls.run_.jit_files()
        dump = subprocess.run([JITDUMP, "--json", jit_file], capture_output=True, text=True, check=True)
        cls.records = json.loads(dump.stdout)["records"]

    def body_start(self, module, token):
        starts = [r["codeRanges"][0]["start"] for r in self.records
                  if r.get("moduleFileName") == module and int(r["methodToken"], 16) == token and r["codeRanges"]]
        self.assertEqual(len(starts), 1, "one compiled body of %s %#x" % (module, token))
        return int(starts[0], 16)

    def our_frames(self, chain):
        """The program's own frames of a chain: framework code is precompiled
        and has no JIT records to be found by here."""
        return [f for f in self.stacks[chain] if f["module"] == STACKNAMES]

    def vesktool_frame(self):
        [module] = [m for m in self.report["modules"] if os.path.basename(m["path"]) == "vesktool.so"]
        value, size = nm_symbol(module["path"], "vesktool_report_call")
        self.assertGreater(size, 1)
        ip = int(module["base"], 16) + value + 1
        return {"ip": hex(ip), "kind": "native", "function": "0x0"}, value + 1

    def symbolized(self, report, *args, env=None):
        path = os.path.join(self.run_.workdir, "synthetic.json")
        with open(path, "w") as f:
            json.dump(report, f)
        env = dict(env or os.environ, VESKMRTE_JIT_DIR=os.path.join(self.run_.workdir, "jit"))
        out = symbolize([path] + list(args), env=env)
        self.assertEqual(out.returncode, 0, out.stderr)
        return json.loads(out.stdout)

    def test_frames_named_as_the_runtime_names_them(self):
        native, native_offset = self.vesktool_frame()
        report = dict(self.report)
        report["stacks"] = {}
        for chain in CHAINS:
            frames = [dict(native)]
            for f in self.our_frames(chain):
                ip = self.body_start(f["module"], f["token"]) + f["nativeOffset"]
                frames.append({"ip": hex(ip), "kind": "managed", "function": "0x0"})
            report["stacks"][chain] = [{"count": 1, "frames": frames}]
        # Frames elsewhere in the report are found by their shape alone.
        report["potential_deadlocks"] = [{"edges": [{"from": 1, "stack": {"frames": [dict(native)]}}]}]

        named = self.symbolized(report)

        for chain in CHAINS:
            with self.subTest(chain=chain):
                expected = self.our_frames(chain)
                [stack] = named["stacks"][chain]
                got = stack["frames"][1:]
                self.assertEqual([g["name"] for g in got], [e["name"] for e in expected])
                self.assertEqual([(g.get("ilOffset"), g.get("file"), g.get("line")) for g in got],
                                 [(e["ilOffset"], e["file"], e["line"]) for e in expected])
                self.assertEqual(stack["frames"][0]["name"], "vesktool.so+%#x" % native_offset)
                self.assertEqual(stack["frames"][0]["symbol"], "vesktool_report_call+0x1")
        edge_frame = named["potential_deadlocks"][0]["edges"][0]["stack"]["frames"][0]
        self.assertEqual(edge_frame["symbol"], "vesktool_report_call+0x1")
        # Everything else passes through unchanged.
        self.assertEqual(named["pid"], self.report["pid"])
        self.assertEqual(named["events"], self.report["events"])

    def test_names_the_jit_file_given(self):
        ip = self.body_start(STACKNAMES, self.our_frames("three-deep")[0]["token"])
        report = {"stacks": {"x": [{"count": 1, "frames": [{"ip": hex(ip), "kind": "managed"}]}]}}
        named = self.symbolized(report, *self.run_.jit_files(), env={"PATH": os.environ["PATH"]})
        self.assertEqual(named["stacks"]["x"][0]["frames"][0]["name"], "StackNames.Probe.Here")

    def test_launcher_names_the_report_in_place(self):
        # The command stands in for a program whose tool library wrote stacks.
        native, native_offset = self.vesktool_frame()
        report = dict(self.report, stacks={"x": [{"count": 2, "frames": [native]}]})
        source = os.path.join(self.run_.workdir, "written.json")
        with open(source, "w") as f:
            json.dump(report, f)
        target = os.path.join(self.run_.workdir, "launched.json")
        env = dict(os.environ, VESKTOOL_STACKS="1")
        out = subprocess.run([os.path.join(DIST, "veskmrte-run"), "--report", target, "--",
                              "sh", "-c", 'cp "$0" "$1"; exit 7', source, target],
                             capture_output=True, text=True, timeout=120, env=env)
        self.assertEqual(out.returncode, 7, out.stderr)
        with open(target) as f:
            frame = json.load(f)["stacks"]["x"][0]["frames"][0]
        self.assertEqual(frame["name"], "vesktool.so+%#x" % native_offset)

    def test_bad_input_is_refused_with_a_message(self):
        work = self.run_.workdir
        not_json = os.path.join(work, "not.json")
        with open(not_json, "w") as f:
            f.write("{\"pid\": 1, \"stacks\": ")
        not_jit = os.path.join(work, "not.jit")
        with open(not_jit, "wb") as f:
            f.write(b"VESKJI" + bytes(40))
        managed = os.path.join(work, "managed.json")
        with open(managed, "w") as f:
            json.dump({"pid": 1, "stacks": {"x": [{"count": 1, "frames": [{"ip": "0x10", "kind": "managed"}]}]}}, f)
        cases = [
            ("report that is not JSON", [not_json], "is not a JSON report"),
            ("report missing", [os.path.join(work, "absent.json")], "cannot read the report"),
            ("JIT file missing", [managed, os.path.join(work, "absent.jit")], "cannot read JIT file"),
            ("not a JIT file", [managed, not_jit], "is not a JIT file"),
            ("no JIT file of the process", [managed], "no JIT file of process 1"),
        ]
        env = dict(os.environ, VESKMRTE_JIT_DIR=os.path.join(work, "jit"))
        for what, args, message in cases:
            with self.subTest(what):
                out = symbolize(args, env=env)
                self.assertEqual(out.returncode, 2)
                self.assertIn(message, out.stderr)
                self.assertNotIn("   at ", out.stderr)
                self.assertEqual(out.stdout, "")
