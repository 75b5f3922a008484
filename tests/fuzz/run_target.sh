#!/usr/bin/env bash
# run_target.sh TARGET SEEDS WORK RUNS: runs a fuzz target RUNS times, starting from the seeds, with the
# working corpus and any crashing input in WORK (emptied first).
set -euo pipefail
target=$1 seeds=$2 work=$3 runs=$4
rm -rf "$work"
mkdir -p "$work/corpus"
exec "$target" -runs="$runs" -seed=1 -artifact_prefix="$work/" "$work/corpus" "$seeds"
