#!/usr/bin/env bash
# Builds the pixel-kernel tests natively (host g++, sanitizers) into
# $OV_BUILD/native; the Wine test run then runs them as one ctest entry.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${OV_BUILD:-$root/build}/native
cmake -S "$root/tests/native" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" "$@"
