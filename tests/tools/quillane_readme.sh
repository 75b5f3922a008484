#!/usr/bin/env bash
# Runs the examples of the README's section on the program, as a user would paste them, then checks
# what they did: the bulk copy, the page chain A -> B -> C and the aux-prop pages arrive whole, and a
# failing record exits 2.
set -euo pipefail
q="$1"
readme="$2"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
mkdir bin && ln -s "$q" bin/quillane
export PATH="$dir/bin:$PATH"

fail() { echo "FAIL: $*" >&2; exit 1; }
departments() { sqlite3 "$1" "select FNumber, FName, UUID from t_Item where FItemClassID=2 and FItemID>0 order by FNumber"; }

# The ```sh blocks of the section, in order.
awk '/^## The program/ { inside = 1; next } /^## / { inside = 0 }
     inside && /^```sh$/ { block = 1; next } block && /^```$/ { block = 0; next } block' "$readme" > examples.sh
[ -s examples.sh ] || fail "the README shows no examples of the program"
bash -e examples.sh > output.txt 2>&1 || fail "the README's examples stopped: $(tail -5 output.txt)"

[ -n "$(departments a.db)" ] || fail "the sample has no departments"
[ "$(departments d.db)" = "$(departments a.db)" ] || fail "the bulk copy differs"
[ "$(departments b.db)" = "$(departments a.db)" ] || fail "the pages from a.db did not arrive whole in b.db"
[ "$(departments c.db)" = "$(departments a.db)" ] || fail "the pages from b.db did not arrive whole in c.db"
highest=$(quillane export --db a.db --type department --per-count 1 2>&1 >/dev/null | sed -n 's/^highest stamp: //p')
[ "$(cat a.db.since)" = "$highest" ] || fail "a.db's next run does not start at its highest stamp"
# The loop carries a type that comes as one page, which says at once that nothing is left.
auxiliary() { sqlite3 "$1" "select c.FNumber, i.FNumber, i.FName from t_ItemClass c left join t_Item i on i.FItemClassID = c.FItemClassID where c.FType in (3, 4) order by 1, 2"; }
[ -n "$(auxiliary shop.db)" ] || fail "the commercial sample has no auxiliary properties"
[ "$(auxiliary shop2.db)" = "$(auxiliary shop.db)" ] || fail "the aux-prop pages did not arrive whole in shop2.db"
grep -q '^exit status 2$' output.txt || fail "the failing record did not exit 2"
[ "$(sqlite3 e.db "select FName from t_Item where FItemClassID=2 and FItemID>0")" = Sales ] ||
  fail "the record beside the failing one is not there"

# The README's table of data types is the program's, in the same order of transfer.
readme_types=$(sed -n 's/^| `\([a-z-]*\)` | `Quillane\..*/\1/p' "$readme" | paste -sd' ')
help_types=$(quillane --help | sed -n 's/^types: //p' | tr -d ,)
[ "$readme_types" = "$help_types" ] || fail "the README lists the types '$readme_types', the program '$help_types'"
echo ok
