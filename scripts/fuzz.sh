#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz/) and runs each for
# SECONDS (default 60), starting from seeds taken from the installed runtime's
# assemblies and from the inputs kept under tests/fuzz/inputs/. Any crash,
# sanitizer report or broken property fails the run; the input that caused it
# is left in build-fuzz/findings/ and belongs in tests/fuzz/inputs/ once
# fixed. Prints executions per second and in total for each target.
#
#   fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
all=(signature attribute_blob il_body pe_version jit_file registry)
targets=("${@:-${all[@]}}")
out="$root/build-fuzz"

bash "$root/scripts/install-deps.sh" fuzz
export DOTNET_CLI_TELEMETRY_OPTOUT=1 DOTNET_NOLOGO=1
cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
      -DCMAKE_CXX_COMPILER=clang++-14 -DVESK_FUZZ=ON -DVESK_MANAGED=OFF -DVESK_TESTS=OFF \
      -DVESK_BENCH=OFF >/dev/null
cmake --build "$out" --target fuzz_targets -j"$(nproc)"

# Seeds: generated once per build tree, never committed.
seeds="$out/seeds"
if [ ! -d "$seeds/signature" ]; then
    dotnet build "$root/tests/fuzz/SeedDump" -c Release --nologo -v quiet -o "$out/seed-dump" >/dev/null
    rm -rf "$seeds.tmp"
    dotnet "$out/seed-dump/SeedDump.dll" "$seeds.tmp" 400
    # A JIT file from a real run, when the profiler is built: whole and cut.
    if [ -x "$root/build/dist/veskmrte-run" ]; then
        jit=$(mktemp -d)
        VESKMRTE_JIT_DIR="$jit" "$root/build/dist/veskmrte-run" dotnet "$out/seed-dump/SeedDump.dll" "$jit/x" 1 \
            >/dev/null || true
        mkdir -p "$seeds.tmp/jit_file"
        for f in "$jit"/*.jit; do
            [ -f "$f" ] || continue
            for size in 2048 16384 65536; do head -c "$size" "$f" >"$seeds.tmp/jit_file/cut-$size"; done
        done
        rm -rf "$jit"
    fi
    mv "$seeds.tmp" "$seeds"
fi

# ASan's leak checker would count the parsers' process-lifetime tables.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$out/findings"
failed=()
printf '%-16s %12s %16s\n' target "execs/s" "total execs" >"$out/fuzz-summary.txt"
for t in "${targets[@]}"; do
    corpus="$out/corpus/$t"
    mkdir -p "$corpus" "$root/tests/fuzz/inputs/$t"
    [ -d "$seeds/$t" ] && cp -n "$seeds/$t"/* "$corpus"/ 2>/dev/null || true
    echo "== fuzz_$t for ${seconds}s"
    log="$out/findings/$t.log"
    if "$out/fuzz/fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 -max_len=65536 -timeout=10 \
           -rss_limit_mb=1024 -artifact_prefix="$out/findings/$t-" "$corpus" "$root/tests/fuzz/inputs/$t" \
           >"$log" 2>&1; then
        execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
        printf '%-16s %12s %16s\n' "$t" "$rate" "$execs" >>"$out/fuzz-summary.txt"
    else
        failed+=("$t")
        tail -40 "$log"
    fi
done
cat "$out/fuzz-summary.txt"
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz.sh: findings in ${failed[*]} (inputs in $out/findings/)" >&2
    exit 1
fi
