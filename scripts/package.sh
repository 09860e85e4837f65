#!/usr/bin/env bash
# Builds a Release into BUILD_DIR (default build-package/) and makes the package there:
# a .deb (a zip in a Windows build). WARNINGS_AS_ERRORS=1 makes warnings fail the build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
bash "$root/scripts/ci-deps.sh"
build=${BUILD_DIR:-$root/build-package}
werror=OFF
[[ ${WARNINGS_AS_ERRORS:-0} == 1 ]] && werror=ON
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DWARNINGS_AS_ERRORS=$werror >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
cpack
