#!/usr/bin/env bash
# Cross-compiles the profiler and its companion libraries for 32-bit Windows
# into build-win32/ (the tool directory is build-win32/dist/) and runs the
# unit tests that build for Windows under 32-bit Wine.
#   windows.sh            install what is missing, build, run the unit tests
#   windows.sh --build    install and build only
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-win32"

bash "$root/scripts/install-deps.sh" windows

# The compiler cache, when the machine has one.
if command -v ccache >/dev/null && [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ]; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
fi
# The managed parts and the benchmarks are not part of the Windows build yet.
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_MANAGED=OFF -DVESK_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
[ "${1:-}" = --build ] && exit 0

# 32-bit Wine needs a kernel that runs 32-bit Linux programs; some
# virtual machines' kernels refuse them ("Exec format error").
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "windows.sh: this machine cannot run 32-bit programs, so 32-bit Wine cannot start:" >&2
    echo "  the Windows build is done ($build/dist), its unit tests were NOT run" >&2
    exit 2
fi

# The first Wine call starts wineserver and Wine's own services; started
# here, detached, they do not hold CTest's output pipe open.
export WINEPREFIX="$build/wine" WINEARCH=win32 WINEDEBUG=-all
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
(wineserver -p && wine cmd /c exit) </dev/null >/dev/null 2>&1
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
(cd "$build" && ctest --output-on-failure -j"$(nproc)")
