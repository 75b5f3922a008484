#!/usr/bin/env bash
# Drives the quillane program through init, export, import and keys, then compares the departments
# (numbers, names, UUIDs) of the two account sets.
set -euo pipefail
q="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"

departments() { sqlite3 "$1" "select FNumber, FName, UUID from t_Item where FItemClassID=2 and FItemID>0 order by FNumber"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

"$q" --help >/dev/null
"$q" init a.db --sample 30
"$q" init b.db
"$q" init c.db

# Bulk file road.
"$q" export --db a.db --type department --bulk all.xml 2>stamps.txt
grep -q '^highest stamp: 0x' stamps.txt || fail "no highest stamp"
"$q" import --db b.db --type department --bulk all.xml
[ -n "$(departments a.db)" ] || fail "the sample has no departments"
[ "$(departments a.db)" = "$(departments b.db)" ] || fail "bulk import differs"

# Page road: pages of 7 records until the next stamp reaches the highest one.
since=""
for _ in $(seq 1 50); do
  "$q" export --db a.db --type department --per-count 7 ${since:+--since "$since"} --out page.xml 2>stamps.txt
  "$q" import --db c.db --type department --in page.xml
  since=$(sed -n 's/^next stamp: //p' stamps.txt)
  highest=$(sed -n 's/^highest stamp: //p' stamps.txt)
  [ "$since" = "$highest" ] && break
done
[ "$(departments a.db)" = "$(departments c.db)" ] || fail "page import differs"

# Deletion keys of the sample remove nothing that is not deleted there; the import succeeds.
"$q" keys export --db a.db --type department --out keys.xml 2>/dev/null
grep -q '<Delete>' keys.xml || fail "no deletion keys"
"$q" keys import --db b.db --type department --in keys.xml

# --interactive: a record whose number is taken by another name and UUID asks on the terminal. Closing the
# dialog (end of input) skips it; choosing "update" (6) and OK (11) takes the file's record.
"$q" export --db a.db --type department --per-count 1 --out first.xml 2>/dev/null
number=$(grep -o '<Number>[^<]*' first.xml | head -1 | cut -d'>' -f2)
uuid() { sqlite3 b.db "select UUID from t_Item where FItemClassID=2 and FNumber='$number'"; }
old_uuid=$(uuid)
[ -n "$old_uuid" ] || fail "department $number is not in the copy"
sed "s:<UUID>$old_uuid</UUID>:<UUID>11111111-2222-4333-8444-555555555555</UUID>:; s:<Name>[^<]*</Name>:<Name>Clash</Name>:" \
  first.xml > clash.xml
"$q" import --db b.db --type department --in clash.xml --interactive </dev/null 2>/dev/null
[ "$(uuid)" = "$old_uuid" ] || fail "a closed conflict dialog did not skip the record"
printf '6\n11\n' | "$q" import --db b.db --type department --in clash.xml --interactive 2>/dev/null
[ "$(uuid)" = "11111111-2222-4333-8444-555555555555" ] || fail "the conflict dialog's update was not applied"

# Custom item classes: a bulk file of the three sample classes into an empty account set, and the pages of
# one class into another; each target then holds the classes with the same items.
items() { sqlite3 "$1" "select c.FName, i.FNumber, i.FName, i.UUID from t_Item i join t_ItemClass c on c.FItemClassID = i.FItemClassID
                        where c.FName in ('项目', '合同', '颜色') order by c.FName, i.FNumber"; }
"$q" init d.db
"$q" export --db a.db --type custom --class '项目|合同|颜色' --bulk classes.xml 2>/dev/null
"$q" import --db d.db --type custom --bulk classes.xml 2>/dev/null
[ -n "$(items a.db)" ] || fail "the sample has no custom classes"
[ "$(items a.db)" = "$(items d.db)" ] || fail "custom classes by bulk file differ"
"$q" init e.db
since=""
for _ in $(seq 1 20); do
  "$q" export --db a.db --type custom --class 项目 --per-count 7 ${since:+--since "$since"} --out page.xml 2>stamps.txt
  "$q" import --db e.db --type custom --in page.xml 2>/dev/null
  since=$(sed -n 's/^next stamp: //p' stamps.txt)
  [ "$since" = "$(sed -n 's/^highest stamp: //p' stamps.txt)" ] && break
done
[ "$(items a.db | grep '^项目')" = "$(items e.db)" ] || fail "custom class by pages differs"
if "$q" export --db a.db --type custom --out page.xml 2>err.txt; then fail "a custom export without --class succeeded"; fi
grep -q -- '--class' err.txt || fail "no word of --class"

# Errors: a non-zero exit and a message on standard error.
for bad in "frob" "export --db a.db --type nosuch" "export --type department" "import --db b.db --type department" \
           "init a.db" "export --db a.db --type department --per-count" \
           "init n.db --sample 3x" "export --db a.db --type department --per-count -1"; do
  if "$q" $bad >/dev/null 2>err.txt; then fail "'$bad' succeeded"; fi
  [ -s err.txt ] || fail "'$bad' printed no error"
done
echo ok
