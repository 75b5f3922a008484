#!/usr/bin/env bash
# The dynamic symbols libquillane.so defines are exactly the functions quillane.h marks for export.
# Usage: exports_test.sh LIBRARY HEADER
set -euo pipefail
library=$1 header=$2
exported=$(nm -D --defined-only "$library" | awk '{print $3}' | sort -u)
declared=$(sed -n 's/^QUILLANE_API [^(]*[ *]\([A-Za-z_][A-Za-z0-9_]*\)(.*/\1/p' "$header" | sort -u)
[ -n "$declared" ] || { echo "no function of $header is marked QUILLANE_API" >&2; exit 1; }
if [ "$exported" != "$declared" ]; then
  echo "exported but not in the header:" >&2
  comm -23 <(echo "$exported") <(echo "$declared") | head -20 >&2
  echo "in the header but not exported:" >&2
  comm -13 <(echo "$exported") <(echo "$declared") >&2
  exit 1
fi
echo "libquillane.so exports the $(echo "$declared" | wc -l) functions of the header and nothing else"
