#!/usr/bin/env bash
# Runs the libFuzzer targets, built by the sanitizers' build (SANITIZE=1
# scripts/build.sh, into BUILD_DIR, default build-sanitize/), each for SECONDS
# (default 60) on its corpus in fuzz/corpus/TARGET/, FUZZ_JOBS targets at a time
# (default 1). New inputs go into a scratch copy of the corpus in BUILD_DIR/scratch/
# (KEEP_CORPUS=1: into fuzz/corpus/ itself). On a finding it names the input, left
# in BUILD_DIR/findings/TARGET/, and exits 1.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (targets: the file names in fuzz/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
build=${BUILD_DIR:-$root/build-sanitize}
jobs=${FUZZ_JOBS:-1}
targets=("$@")
if ((${#targets[@]} == 0)); then
  for f in "$root"/fuzz/*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
SANITIZE=1 BUILD_DIR=$build bash "$root/scripts/build.sh" >/dev/null

# Runs one target; its report goes to BUILD_DIR/fuzz-TARGET.report.
run_target() {
  local t=$1 corpus=$build/scratch/$1 findings=$build/findings/$1 log=$build/fuzz-$1.log
  if [[ ${KEEP_CORPUS:-0} == 1 ]]; then
    corpus=$root/fuzz/corpus/$t
    mkdir -p "$corpus"
  else
    rm -rf "$corpus"
    mkdir -p "$corpus"
    [[ -d $root/fuzz/corpus/$t ]] && cp "$root/fuzz/corpus/$t/." "$corpus/" -r
  fi
  mkdir -p "$findings"
  # The scenario texts' keywords, for the targets that read texts.
  local dict=(-dict="$root/fuzz/scenario.dict")
  [[ $t == inspect ]] && dict=()
  local status=0
  "$build/fuzz_$t" -max_total_time="$seconds" -timeout=20 -print_final_stats=1 "${dict[@]}" \
    -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1 || status=$?
  local runs rss
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log")
  if ((status != 0)); then
    local input
    input=$(sed -n 's/.*Test unit written to \(.*\)/\1/p' "$log" | tail -n 1)
    {
      grep -m1 -E '^==[0-9]+==ERROR|runtime error|^SUMMARY' "$log" || tail -n 20 "$log"
      echo "fuzz: $t found a fault after ${runs:-?} runs: the input is ${input:-in $findings}, the log $log;" \
        "reproduce with $build/fuzz_$t ${input:-INPUT}"
    } >"$build/fuzz-$t.report"
    return 1
  fi
  echo "fuzz: $t: ${runs:-?} runs in $seconds s, peak rss ${rss:-?} MB, no finding ($(ls "$corpus" | wc -l) inputs in $corpus)" \
    >"$build/fuzz-$t.report"
}

failed=0
for ((i = 0; i < ${#targets[@]}; i += jobs)); do
  pids=()
  batch=("${targets[@]:i:jobs}")
  for t in "${batch[@]}"; do
    run_target "$t" &
    pids+=($!)
  done
  for k in "${!pids[@]}"; do
    if wait "${pids[k]}"; then
      cat "$build/fuzz-${batch[k]}.report"
    else
      cat "$build/fuzz-${batch[k]}.report" >&2
      failed=1
    fi
  done
done
exit $failed
