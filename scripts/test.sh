#!/usr/bin/env bash
# Builds everything and runs every test: unit and integration tests on the
# normal build, then the unit tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the integration suites with those sanitized
# libraries loaded into the real runtime, then every fuzz target for a short
# while (VESK_FUZZ_SECONDS each, default 20).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"

echo "== tests (build/)"
(cd "$root/build" && ctest --output-on-failure -j"$(nproc)")

echo "== unit tests under sanitizers (build-asan/)"
cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DVESK_SANITIZE=ON \
      -DVESK_MANAGED=OFF -DVESK_BENCH=OFF >/dev/null
cmake --build "$root/build-asan" -j"$(nproc)"
(cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j"$(nproc)")

echo "== integration tests with the sanitized libraries (build-asan/)"
bash "$root/scripts/sanitized-integration.sh" "$root/build" "$root/build-asan"

echo "== fuzzing (build-fuzz/)"
bash "$root/scripts/fuzz.sh" "${VESK_FUZZ_SECONDS:-20}"
