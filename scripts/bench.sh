#!/usr/bin/env bash
# Builds (as scripts/build.sh does) and runs the benchmark: whole-process compiles
# of generated scenarios of 100,000 to 1,000,000 m and the fixed run, each paired
# with a copy of the files it writes. Arguments go to the driver:
#   [--runs N] [--lengths L1,L2,...] [--keep DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/$(bash "$root/scripts/build-dir.sh")}
BUILD_DIR=$build bash "$root/scripts/build.sh" >/dev/null
"$build/scenario_bench" "$build/scenario-compiler" "$@"
