#!/usr/bin/env bash
# The main job: what a threading-analysis tool finds with what the profiler
# delivers. A sample program moves money between two accounts, locking both;
# run one way it locks them in argument order (payroll Alice->Bob, later
# refunds Bob->Alice), which never deadlocks in the run but would if the two
# overlapped; run the other way every transfer is inside one gate lock. The
# tool library's lock-order analysis finds the first, with the stacks of
# both code paths, and not the second.
#
# bash scripts/demo-counts.sh shows the profiler's log, call counts and JIT
# file instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh" >/dev/null
dist="$root/build/dist"
sample="$root/build/managed/Transfers/Transfers.dll"
out=$(mktemp -d "${TMPDIR:-/tmp}/veskmrte-demo.XXXXXX")
export VESKMRTE_JIT_DIR="$out"

show_report() {
    python3 - "$1" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))
cycles = r["potential_deadlocks"]

def show(frames):
    if not frames:
        print("      (no stack: the tool captured none)")
    for f in frames[:8]:
        where = " (%s:%d)" % (f["file"].rsplit("/", 1)[-1], f["line"]) if "line" in f else ""
        print("      %-8s %s%s" % (f["kind"], f.get("symbol") or f.get("name", f["ip"]), where))

print("lock-order edges seen: %d; potential deadlocks: %d" % (r["lock_order"]["edges"], len(cycles)))
for cycle in cycles:
    print("  locks: " + ", ".join("#%d (%s)" % (l["id"], l["kind"]) for l in cycle["locks"]))
    for e in cycle["edges"]:
        print("  thread %d held #%d, taken at:" % (e["thread"], e["held"]))
        show(e["held_at"]["frames"])
        print("    and then took #%d at:" % e["acquired"])
        show(e["acquired_at"]["frames"])
PY
}

for variant in argument-order gated; do
    echo "== dotnet Transfers.dll $variant, under $dist/veskmrte-run"
    "$dist/veskmrte-run" --report "$out/$variant.json" dotnet "$sample" "$variant"
    echo
    echo "== the tool's report ($out/$variant.json)"
    show_report "$out/$variant.json"
    echo
done
