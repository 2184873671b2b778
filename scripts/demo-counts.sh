#!/usr/bin/env bash
# Runs a sample multi-threaded .NET program under the profiler and shows what
# the profiler logged, what the tool library counted and the JIT file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh" >/dev/null
dist="$root/build/dist"
out=$(mktemp -d "${TMPDIR:-/tmp}/veskmrte-demo.XXXXXX")

echo "== running the sample program under $dist/veskmrte-run"
# With stacks captured, the launcher names their frames in the report.
VESKTOOL_STACKS=1 VESKMRTE_JIT_DIR="$out" "$dist/veskmrte-run" --debug-log "$out/debug.log" --report "$out/report.json" \
    dotnet "$root/build/managed/BankDemo/BankDemo.dll"

echo
echo "== the profiler's debug log ($out/debug.log): first lines"
head -n 12 "$out/debug.log"
echo "..."
echo "== events in the log"
grep -oE '^\[[A-Za-z]+ event\]' "$out/debug.log" | sort | uniq -c | sort -rn
echo "== methods whose calls were redirected"
grep -c '^  completed instrumentation' "$out/debug.log" || true

echo
echo "== the tool library's report ($out/report.json)"
python3 - "$out/report.json" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))
g = r["runtime_guard"]
print("threads given to the tool: %d" % len(r["thread_assignments"]))
for a in r["thread_assignments"]:
    print("  managed thread 0x%x on OS thread %d" % (a["managed_thread"], a["os_thread"]))
print("runtime guard: %d enters, %d leaves, deepest level %d, imbalances %d"
      % (g["enters"], g["leaves"], g["max_depth"], len(g["imbalances"])))
print("stack walker handed over: %s (mode %d)" % (r["stack_walker_set"], r["stack_walk_mode"]))
print("redirected calls the tool saw (calls / returns, threads):")
for name, e in sorted(r["events"].items()):
    print("  %-40s %6d / %6d  on %d managed threads" % (name, e["calls"], e["returns"], len(e["by_thread"])))
for name, stacks in sorted(r.get("stacks", {}).items()):
    top = max(stacks, key=lambda s: s["count"])
    print("most frequent of %d stacks of %s (%d calls), named by veskmrte-symbolize:" % (len(stacks), name, top["count"]))
    for f in top["frames"]:
        where = " (%s:%d)" % (f["file"].rsplit("/", 1)[-1], f["line"]) if "line" in f else ""
        print("    %-8s %s%s" % (f["kind"], f.get("symbol") or f.get("name", f["ip"]), where))
PY

echo
echo "== the JIT file: one record per compiled code body"
for f in "$out"/*.jit; do
    "$dist/veskmrte-jitdump" --summary "$f"
    "$dist/veskmrte-jitdump" --json "$f" | python3 -c '
import collections, json, sys
records = json.load(sys.stdin)["records"]
bodies = collections.Counter((r["moduleId"], r["methodToken"]) for r in records)
print("methods with more than one body (later tiers): %d" % sum(1 for n in bodies.values() if n > 1))
for r in records[:10]:
    c = r["codeRanges"][0]
    print("  %-28s method %s  code %s, %5d bytes, IL map %3d entries"
          % (r["moduleFileName"].rsplit("/", 1)[-1] or "(dynamic module)", r["methodToken"], c["start"], c["size"],
             len(r["ilMap"])))
if len(records) > 10:
    print("  ...")
'
done
