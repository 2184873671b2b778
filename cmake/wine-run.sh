#!/bin/sh
# Runs a Windows program of the build under Wine: wine-run.sh BUILD_DIR PROGRAM [ARGS...]
# The prefix lives in BUILD_DIR/wine; the tool directory is on the DLL search
# path, as it would be beside the profiler.
build=$1
shift
export WINEPREFIX="${WINEPREFIX:-$build/wine}" WINEARCH=win32 WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mshtml=}"
export WINEPATH="Z:$(echo "$build/dist" | tr / '\\')"
exec wine "$@"
