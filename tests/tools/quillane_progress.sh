#!/usr/bin/env bash
# The progress bar: drawn on a terminal (a pseudo-terminal made by script(1)) for long work, absent when
# standard error is a file.
set -euo pipefail
q="$1"
command -v script >/dev/null || { echo "script(1) is not installed"; exit 77; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
fail() { echo "FAIL: $*" >&2; exit 1; }

# Enough records that the import outlasts the moment before a bar is drawn (0.3 s) on a fast machine
# too: it takes about a second here.
"$q" init a.db --sample 4000 >/dev/null
"$q" init b.db >/dev/null
"$q" init c.db >/dev/null
n=$(sqlite3 a.db "select count(*) from t_Item where FItemClassID=2 and FItemID>0")
"$q" export --db a.db --type department --bulk all.xml 2>/dev/null

# Imports take long enough for a bar. A bulk file is read once, by the library, so its total is not known
# beforehand: the last drawing counts every record.
script -qec "'$q' import --db b.db --type department --bulk all.xml" /dev/null > terminal.txt
grep -q "import department $n [0-9]*/s" terminal.txt || fail "no bar on the terminal: $(cat -v terminal.txt)"
grep -q "records imported: $n" terminal.txt || fail "the figures are missing: $(cat -v terminal.txt)"

"$q" import --db c.db --type department --bulk all.xml 2>plain.txt
! grep -q "import department" plain.txt || fail "a bar in a file: $(cat -v plain.txt)"
! grep -q $'\r' plain.txt || fail "carriage returns in a file"
echo ok
