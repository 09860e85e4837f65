#!/usr/bin/env bash
# Configures and builds into BUILD_DIR (default build/), warnings as errors; SANITIZE=1 adds the sanitizers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
build=${BUILD_DIR:-$root/build}
sanitize=OFF
[[ ${SANITIZE:-0} == 1 ]] && sanitize=ON
cmake -S "$root" -B "$build" -DSANITIZE=$sanitize -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
