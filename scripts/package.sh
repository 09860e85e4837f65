#!/usr/bin/env bash
# Builds Releases and makes the packages: the .deb in BUILD_DIR (default
# build-package/) and the Windows zip, cross-compiled, in build-package-windows/.
# WARNINGS_AS_ERRORS=1 makes warnings fail the builds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh" program package
build=${BUILD_DIR:-$root/build-package}
windows=${WINDOWS_PACKAGE_DIR:-$root/build-package-windows}
werror=OFF
[[ ${WARNINGS_AS_ERRORS:-0} == 1 ]] && werror=ON
bash "$root/scripts/configure.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DWARNINGS_AS_ERRORS=$werror
cmake --build "$build" -j"$(nproc)"
(cd "$build" && cpack)
bash "$root/scripts/configure.sh" "$windows" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DWARNINGS_AS_ERRORS=$werror
cmake --build "$windows" -j"$(nproc)"
(cd "$windows" && cpack)
