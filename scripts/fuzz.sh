#!/usr/bin/env bash
# Builds the libFuzzer targets with clang 14 into BUILD_DIR (default build-fuzz/)
# and runs each for SECONDS (default 60), one after the other, on its corpus in
# fuzz/corpus/TARGET/. New inputs go into a scratch copy of the corpus in
# BUILD_DIR/scratch/ (KEEP_CORPUS=1: into fuzz/corpus/ itself). On a finding it
# stops, naming the input left in BUILD_DIR/findings/TARGET/, and exits 1.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (targets: the file names in fuzz/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
bash "$root/scripts/deps.sh"
bash "$root/scripts/ci-deps.sh" clang
build=${BUILD_DIR:-$root/build-fuzz}
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -DFUZZ=ON -DBUILD_TESTING=OFF -DWARNINGS_AS_ERRORS=ON >/dev/null
targets=("$@")
if ((${#targets[@]} == 0)); then
  for f in "$root"/fuzz/*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

for t in "${targets[@]}"; do
  corpus=$build/scratch/$t
  if [[ ${KEEP_CORPUS:-0} == 1 ]]; then
    corpus=$root/fuzz/corpus/$t
    mkdir -p "$corpus"
  else
    rm -rf "$corpus"
    mkdir -p "$corpus"
    [[ -d $root/fuzz/corpus/$t ]] && cp "$root/fuzz/corpus/$t/." "$corpus/" -r
  fi
  findings=$build/findings/$t
  mkdir -p "$findings"
  log=$build/fuzz-$t.log
  # The scenario texts' keywords, for the targets that read texts.
  dict=(-dict="$root/fuzz/scenario.dict")
  [[ $t == inspect ]] && dict=()
  status=0
  "$build/fuzz_$t" -max_total_time="$seconds" -timeout=20 -print_final_stats=1 "${dict[@]}" \
    -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log")
  if ((status != 0)); then
    grep -m1 -E '^==[0-9]+==ERROR|runtime error|^SUMMARY' "$log" >&2 || tail -n 20 "$log" >&2
    input=$(sed -n 's/.*Test unit written to \(.*\)/\1/p' "$log" | tail -n 1)
    echo "fuzz: $t found a fault after ${runs:-?} runs: the input is ${input:-in $findings}, the log $log;" \
      "reproduce with $build/fuzz_$t ${input:-INPUT}" >&2
    exit 1
  fi
  echo "fuzz: $t: ${runs:-?} runs in $seconds s, peak rss ${rss:-?} MB, no finding ($(ls "$corpus" | wc -l) inputs in $corpus)"
done
