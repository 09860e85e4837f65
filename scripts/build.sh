#!/usr/bin/env bash
# Configures and builds into BUILD_DIR, warnings as errors; SANITIZE=1 adds the
# sanitizers. CLANG=1 builds with Debian's clang 14 (default folder build-clang/,
# otherwise build/); CC and CXX given in the environment are honoured otherwise.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
if [[ ${CLANG:-0} == 1 ]]; then
  bash "$root/scripts/ci-deps.sh" clang
  export CC=clang-14 CXX=clang++-14
fi
build=${BUILD_DIR:-$root/$(bash "$root/scripts/build-dir.sh")}
sanitize=OFF
[[ ${SANITIZE:-0} == 1 ]] && sanitize=ON
cmake -S "$root" -B "$build" -DSANITIZE=$sanitize -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
