#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
#   install-deps.sh          what the build and the tests need
#   install-deps.sh fuzz     also clang and its fuzzer and sanitizer runtimes
set -euo pipefail

packages=(cmake g++ make python3 libgtest-dev libgmock-dev libbenchmark-dev libboost-dev nlohmann-json3-dev libunwind-dev)
if [ "${1:-}" = fuzz ]; then
    packages+=(clang-14 libclang-rt-14-dev)
fi
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
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
command -v dotnet >/dev/null || { echo "the .NET SDK (dotnet) is required" >&2; exit 1; }
