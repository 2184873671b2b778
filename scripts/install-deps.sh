#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
#   install-deps.sh          what the build and the tests need
#   install-deps.sh fuzz     also clang and its fuzzer and sanitizer runtimes
#   install-deps.sh windows  the 32-bit Windows cross build and Wine instead
set -euo pipefail

packages=(cmake g++ make python3 libgtest-dev libgmock-dev libbenchmark-dev libboost-dev nlohmann-json3-dev libunwind-dev)
options=()
case "${1:-}" in
    fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
    windows) packages=(cmake make g++-mingw-w64-i686 wine wine32:i386 googletest libboost-dev nlohmann-json3-dev)
             options=(--no-install-recommends) ;;
esac
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "need root to install ${missing[*]}" >&2
        exit 1
    fi
    # 32-bit Wine comes from the i386 architecture.
    case " ${missing[*]}" in
        *:i386*) dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 ;;
    esac
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${options[@]}" "${missing[@]}" >/dev/null
fi
command -v dotnet >/dev/null || { echo "the .NET SDK (dotnet) is required" >&2; exit 1; }
