#!/usr/bin/env bash
# Builds everything and runs the whole test suite: with g++ in build/, or with
# SANITIZE=1 under the sanitizers in build-sanitize/ (CLANG=1: clang 14, in build-clang/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/$(bash "$root/scripts/build-dir.sh")}
BUILD_DIR=$build bash "$root/scripts/build.sh"
cd "$build"
ctest --output-on-failure -j"$(nproc)"
