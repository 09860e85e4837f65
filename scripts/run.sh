#!/usr/bin/env bash
# Builds the program and performs the fixed run; the files appear next to the executable.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
BUILD_DIR=$build bash "$root/scripts/build.sh" program
status=0
"$build/scenario-compiler" "$@" || status=$?
echo "files are in $build" >&2
exit $status
