#!/usr/bin/env bash
# The quillane program as a user meets it: command lines, their exit codes and what they say, in English
# unless a case asks for another language.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cases.sh" "$1"

departments() { sqlite3 "$1" "select FNumber, FName, UUID, FSystemType from t_Item where FItemClassID=2 and FItemID>0 order by FNumber"; }

# Fixtures: over 120 departments (two batches of a bulk file), a bulk file with one record a line, a
# page in three encodings, a page with a record that fails.
"$q" init a.db --sample 120 >/dev/null
n=$(sqlite3 a.db "select count(*) from t_Item where FItemClassID=2 and FItemID>0")
"$q" export --db a.db --type department --bulk all.xml 2>/dev/null
iconv -f UTF-16 -t UTF-8 all.xml | sed 's:</Department>:&\n:g' > lines.xml
sed '120s:<Name>:<Name><:' lines.xml > broken.xml
sed '1s:<Root :<Root Foo="1" :' lines.xml > root-attribute.xml
page() {
  printf '<?xml version="1.0" encoding="%s"?>\n<Root VelmoraNameSpace="Department"><Department><Name>%s</Name>' "$1" "$2"
  printf '<Number>%s</Number><Level>1</Level><IsDetail>1</IsDetail></Department></Root>\n' "$3"
}
{ printf '\xff\xfe'; page UTF-16 "研发部" E1 | iconv -f UTF-8 -t UTF-16LE; } > utf16.xml
page GB2312 "销售部" E2 | iconv -f UTF-8 -t GB2312 > gb2312.xml
page ISO-8859-1 "Café" E3 | iconv -f UTF-8 -t ISO-8859-1 > latin1.xml
cat > mixed.xml <<'XML'
<Root VelmoraNameSpace="Department">
  <Department><Name>Sales</Name><Number>90</Number><Level>1</Level><IsDetail>1</IsDetail></Department>
  <Department><Level>1</Level><IsDetail>1</IsDetail></Department>
</Root>
XML
for db in b c d g h; do "$q" init $db.db >/dev/null; done
# A page whose second record's name passes the bound of a record.
{ page UTF-8 "甲" H1 | sed 's:</Root>::'; page UTF-8 "$(head -c 1100000 /dev/zero | tr '\0' B)" H2 | sed '1d; s:.*<Root[^>]*>::'; } > big.xml
# A record whose number g.db already gives another name.
"$q" import --db g.db --type department --in mixed.xml >/dev/null 2>&1 || true
sed 's/Sales/Marketing/' mixed.xml > clash.xml
# A group of the number of c.db's detail department "90", and a new department.
cat > flag.xml <<'XML'
<Root VelmoraNameSpace="Department">
  <Department><Name>Sales</Name><Number>90</Number><Level>1</Level><IsDetail>0</IsDetail></Department>
  <Department><Name>Support</Name><Number>91</Number><Level>1</Level><IsDetail>1</IsDetail></Department>
</Root>
XML

run_cases <<CASES
0|Made an account set: s.db~  Department: |init s.db --sample 1
0|Made an empty account set: e.db|init e.db
0|Made an account set: k.db~  Colours and sizes: 2|init k.db --sample 1 --acct-type commercial
0|已建立空账套：z.db|init z.db --lang chs
1|Unknown language (chs, en or cht): xx|init x.db --lang xx
0|records: 7~next stamp: 0x~highest stamp: 0x|export --db a.db --type department --per-count 7 --out page.xml
0|records: $n~highest stamp: 0x|export --db a.db --type department --bulk again.xml
1|16 hexadecimal digits (such as 0x000000000000A1F3), not: 0x18|export --db a.db --type department --since 0x18
1|No such account set: missing.db|export --db missing.db --type department
1|沒有這個帳套：missing.db|export --db missing.db --type department --lang cht
1|Not a non-negative whole number: --user 16;AcctType=XX|export --db a.db --type department --user '16;AcctType=XX'
1|cannot carry an account set path holding "}": x}y.db|export --db 'x}y.db' --type department
1|industrial or commercial, not: retail|export --db a.db --type department --acct-type retail
1|industrial or commercial, not: retail|init r.db --acct-type retail
1|does not apply to this command: --system-type (import --bulk)|import --db b.db --type department --bulk all.xml --system-type 0
0|records read: $n~records imported: $n~records failed: 0|import --db b.db --type department --bulk all.xml
0|records imported: 1|import --db c.db --type department --in utf16.xml
0|records imported: 1|import --db c.db --type department --in gb2312.xml
0|records imported: 1|import --db c.db --type department --in latin1.xml
2|records read: 2~records imported: 1~records failed: 1~neither a number nor a name|import --db c.db --type department --in mixed.xml
0|records read: 2~records imported: 1~records skipped: 1~  the number belongs to an existing record whose detail flag differs: 1~records failed: 0|import --db c.db --type department --in flag.xml
2|line 120~records read: 120~records imported: 119~records failed: 1|import --db d.db --type department --bulk broken.xml
1|not allowed~records read: 0|import --db d.db --type department --bulk root-attribute.xml
1|Missing option --in or --bulk|import --db b.db --type department
2|the record was not imported: #2 (Number:H2), > 1048576 bytes~records read: 2~records imported: 1~records failed: 1|import --db h.db --type department --in big.xml
2|has the following conflicts:~Marketing~records clashing with an existing number: 1~records failed: 1|import --db g.db --type department --in clash.xml
CASES

# What the cases left behind.
[ "$(departments b.db)" = "$(departments a.db)" ] || fail "the bulk import differs from its source"
[ "$(sqlite3 c.db "select group_concat(FName, ',') from (select FName from t_Item where FItemClassID=2 and FItemID>0 order by FNumber)")" = "Sales,Support,研发部,销售部,Café" ] ||
  fail "pages in other encodings lost their names: $(departments c.db)"
[ "$(sqlite3 d.db "select count(*) from t_Item where FItemClassID=2 and FItemID>0")" = 119 ] ||
  fail "the records before the broken one are not all there"
"$q" import --db d.db --type department --bulk root-attribute.xml >/dev/null 2>out.txt
[ "$(grep -c 'not allowed' out.txt)" = 1 ] || fail "a refused Root is reported once per batch: $(cat out.txt)"

# Records imported from a page are exported again; --system-type 0 keeps them out.
"$q" init f.db >/dev/null
"$q" import --db f.db --type department --in page.xml 2>/dev/null
"$q" import --db f.db --type department --in mixed.xml --system-type 0 2>/dev/null
[ "$(sqlite3 f.db "select group_concat(distinct FSystemType) from t_Item where FItemClassID=2 and FNumber<>'90' and FItemID>0")" = 1 ] ||
  fail "a page import did not write system type 1"
[ "$(sqlite3 f.db "select FSystemType from t_Item where FItemClassID=2 and FNumber='90'")" = 0 ] ||
  fail "--system-type 0 was not written"

# A bulk file is read once, so it may come through a pipe: of an item-table type, of a predefined type
# and of custom item classes alike.
"$q" export --db a.db --type currency --bulk currencies.xml 2>/dev/null
"$q" export --db a.db --type custom --class Projects --bulk classes.xml 2>/dev/null
for kind in department:all.xml currency:currencies.xml custom:classes.xml; do
  "$q" init "pipe-${kind%%:*}.db" >/dev/null
  rm -f pipe.xml && mkfifo pipe.xml
  # The writer gives up when nobody opens the pipe, so that a failure cannot hang the test.
  timeout 60 sh -c 'cat "$1" > pipe.xml' sh "${kind#*:}" &
  timeout 60 "$q" import --db "pipe-${kind%%:*}.db" --type "${kind%%:*}" --bulk pipe.xml >out.txt 2>&1 ||
    fail "a bulk file of ${kind%%:*} through a pipe: $(cat out.txt)"
  wait
  grep -qF "records failed: 0" out.txt || fail "a bulk file of ${kind%%:*} through a pipe: $(cat out.txt)"
done
[ "$(departments pipe-department.db)" = "$(departments a.db)" ] || fail "the departments through a pipe differ"

# A failed or interrupted export leaves the file it would replace as it was, and nothing beside it.
for out in "--bulk kept.xml" "--out kept.xml --since 0x18"; do
  echo old > kept.xml
  eval "\"\$q\" export --db a.db --type department $out --filter 'FNumber IN ('" >/dev/null 2>&1 && fail "a bad filter exported"
  [ "$(cat kept.xml)" = old ] || fail "a failed export ($out) destroyed the file it would replace"
done
"$q" export --db a.db --type department --bulk kept.xml >/dev/null 2>&1 &
# The signal must reach the program, not the forked shell before it (which would run the EXIT trap).
pid=$!
while kill -0 "$pid" 2>/dev/null && [ "$(readlink "/proc/$pid/exe")" != "$(readlink -f "$q")" ]; do :; done
kill -TERM "$pid" 2>/dev/null
wait "$pid" || true
[ "$(cat kept.xml)" = old ] || xmllint --noout kept.xml 2>/dev/null || fail "an interrupted export left a broken file"
[ -z "$(ls -A | grep '^\.kept\.xml\.')" ] || fail "an export left its temporary file: $(ls -A)"

# An import that a read-only account set stops says what it read: the record it stopped at.
"$q" init ro.db >/dev/null && chmod 444 ro.db
as_reader=()
if [ "$(id -u)" = 0 ]; then as_reader=(setpriv --reuid=65534 --regid=65534 --clear-groups) && chmod 755 "$dir"; fi
if [ "$(id -u)" != 0 ] || command -v setpriv >/dev/null; then
  for road in "--in page.xml" "--bulk all.xml"; do
    "${as_reader[@]}" "$q" import --db ro.db --type department $road >out.txt 2>&1 && fail "an import into a read-only set succeeded"
    grep -qF "records read: 1" out.txt && grep -qF "import stopped by a storage fault" out.txt ||
      fail "a read-only set stopping import $road: $(cat out.txt)"
  done
fi

# A path holding ";" names its own file, not the one before the ";".
"$q" init 'p' >/dev/null
"$q" init 'p;Data Source=p.db' >/dev/null
"$q" import --db 'p;Data Source=p.db' --type department --in page.xml 2>/dev/null || fail "import into a path with ';' failed"
[ "$(sqlite3 'p;Data Source=p.db' "select count(*) from t_Item where FItemClassID=2 and FItemID>0")" = 7 ] ||
  fail "the records did not reach the file named"
[ "$(sqlite3 p "select count(*) from t_Item where FItemClassID=2 and FItemID>0")" = 0 ] || fail "another file was written"
[ ! -e p.db ] || fail "a file named after the rest of the path was made"

[ "$failed" = 0 ] && echo ok
exit "$failed"
