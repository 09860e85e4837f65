#!/usr/bin/env bash
# Builds and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
BUILD_DIR=$build bash "$root/scripts/build.sh"
cd "$build"
ctest --output-on-failure -j"$(nproc)"
