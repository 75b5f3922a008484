#!/usr/bin/env bash
# scripts/demo and scripts/setup answer a request for help or a wrong argument before they install,
# build or remove anything.
# Usage: scripts_usage.sh SOURCE_TREE
set -uo pipefail
source_tree=$1
fail() { echo "FAIL: $*" >&2; failed=1; }
failed=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy of the scripts in a tree of their own: whatever they might build or wipe is not the checkout's.
mkdir -p "$work/scripts" "$work/build/demo" && cp "$source_tree"/scripts/* "$work/scripts/"
touch "$work/build/demo/kept"

for help in --help -h; do
  out=$(bash "$work/scripts/demo" $help 2>&1); status=$?
  [ $status = 0 ] || fail "scripts/demo $help exited $status: $out"
  grep -q '^usage: scripts/demo' <<<"$out" || fail "scripts/demo $help printed no usage: $out"
  grep -q 'QUILLANE_JOBS' <<<"$out" || fail "scripts/demo $help does not name QUILLANE_JOBS"
done
while IFS='|' read -r expected args; do
  out=$(bash "$work/scripts/demo" $args 2>&1); status=$?
  [ $status = 2 ] || fail "scripts/demo $args exited $status, not 2: $out"
  grep -qF -- "$expected" <<<"$out" || fail "scripts/demo $args did not say '$expected': $out"
done <<'CASES'
unknown option: --records|--records 10
a whole number, not: ten|ten
industrial or commercial, not: retail|--acct-type retail
CASES
[ -e "$work/build/demo/kept" ] || fail "a refused scripts/demo emptied build/demo"
out=$(bash "$work/scripts/setup" everything 2>&1); status=$?
[ $status = 2 ] && grep -qF "no group 'everything'" <<<"$out" || fail "scripts/setup everything: $status $out"
[ "$failed" = 0 ] && echo ok
exit "$failed"
