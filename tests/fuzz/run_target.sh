#!/usr/bin/env bash
# Usage: run_target.sh target seeds work runs. Runs a fuzz target the given number of times from the
# seed directory, keeping its working corpus and any crashing input in the work directory (emptied first).
set -euo pipefail
target=$1 seeds=$2 work=$3 runs=$4
rm -rf "$work"
mkdir -p "$work/corpus"
exec "$target" -runs="$runs" -seed=1 -artifact_prefix="$work/" "$work/corpus" "$seeds"
