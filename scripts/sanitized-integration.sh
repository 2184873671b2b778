#!/usr/bin/env bash
# Runs the integration suites with the profiler and its libraries built under
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/) loaded into
# real .NET processes; both stop the process at their first finding, which
# fails the test that ran it.
#
# The runtime is not built with the sanitizers, so their run-time libraries
# must be the first the process loads: the harness preloads them into every
# process it starts (VESK_SANITIZER_PRELOAD). The leak checker stays off: the
# runtime keeps much of its memory to the end by design.
#
# Usage: scripts/sanitized-integration.sh [BUILD [ASAN_BUILD]]
#   BUILD       the normal build, for the managed parts and the test programs
#   ASAN_BUILD  the sanitized build, for the native libraries
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
asan=$(cd "${2:-$root/build-asan}" && pwd)

dist=$(mktemp -d /tmp/veskmrte-asan-dist.XXXXXX)
logs=$(mktemp -d /tmp/veskmrte-asan-logs.XXXXXX)
trap 'rm -rf "$dist" "$logs"' EXIT
cp -a "$build/dist/." "$dist/"
# The sanitized native parts replace the normal ones; the test fixture is not
# a part of the tool directory.
for part in "$asan"/dist/*.so "$asan"/dist/veskmrte-{run,regsvr,jitdump}; do
    case $(basename "$part") in
        libregistration_fixture*) ;;
        *) cp "$part" "$dist/" ;;
    esac
done

export VESK_DIST_DIR=$dist VESK_PROGRAMS_DIR=$build/test-programs VESK_RUNTIME=sdk PYTHONDONTWRITEBYTECODE=1
export VESK_SANITIZER_PRELOAD="$(gcc -print-file-name=libasan.so) $(gcc -print-file-name=libubsan.so)"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1

# Two suites at a time, one per core; a suite's output is shown when it fails.
cd "$root/tests/integration"
export VESK_ASAN_LOGS=$logs
run_suite() {
    if python3 -m unittest "$1" >"$VESK_ASAN_LOGS/$1.log" 2>&1; then
        echo "passed: $1"
    else
        echo "FAILED: $1"
        cat "$VESK_ASAN_LOGS/$1.log"
        return 1
    fi
}
export -f run_suite
# test_module_metadata and test_coverage are left to the normal run: they read
# which module load or compilation a line of the debug log belongs to, and
# another thread's event can fall in between; the sanitizers' slowdown makes
# that common.
ls test_*.py | sed 's/\.py$//' | grep -vx -e test_module_metadata -e test_coverage |
    xargs -P 2 -I{} bash -c 'run_suite {}'
