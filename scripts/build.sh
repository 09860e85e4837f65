#!/usr/bin/env bash
# Configures and builds into BUILD_DIR, warnings as errors, after installing what
# the build needs. Usage: scripts/build.sh [program]
#   program  only the program and what it links (tests left as the folder has them)
#   (none)   everything: the program, the suite, the benchmarks and, with SANITIZE=1,
#            the fuzz targets
# Release with g++ into build/ by default. SANITIZE=1: clang 14 with the address and
# undefined-behaviour sanitizers and libFuzzer's coverage, into build-sanitize/.
# CLANG=1: clang 14, into build-clang/. CC and CXX given in the environment are
# honoured otherwise, when a new folder is configured.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/$(bash "$root/scripts/build-dir.sh")}
args=(-DWARNINGS_AS_ERRORS=ON)
groups=(program)
if [[ ${SANITIZE:-0} == 1 || ${CLANG:-0} == 1 ]]; then
  groups+=(clang)
  export CC=clang-14 CXX=clang++-14
fi
if [[ ${SANITIZE:-0} == 1 ]]; then
  # -O1 and line tables only: what the sanitizers' reports need (file and line of
  # each frame), at a good part less compile time than -O2 -g.
  args+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG"
    -DSANITIZE=ON -DFUZZ=ON)
else
  args+=(-DCMAKE_BUILD_TYPE=Release)
fi
targets=()
if [[ ${1:-} == program ]]; then
  targets=(--target scenario-compiler)
  # A new folder for the program alone does not need GoogleTest.
  [[ -f $build/CMakeCache.txt ]] || args+=(-DBUILD_TESTING=OFF)
else
  groups+=(test)
  args+=(-DBUILD_TESTING=ON)
fi
bash "$root/scripts/deps.sh" "${groups[@]}"
bash "$root/scripts/configure.sh" "$build" "${args[@]}"
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
