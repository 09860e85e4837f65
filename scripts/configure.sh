#!/usr/bin/env bash
# Configures BUILD_DIR with the given CMake arguments: a new folder with Ninja
# where it is installed (a folder keeps the generator it was first made with).
# Usage: scripts/configure.sh BUILD_DIR [CMAKE_ARG...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
shift
generator=()
[[ ! -f $build/CMakeCache.txt ]] && command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S "$root" -B "$build" "${generator[@]}" "$@" >/dev/null
