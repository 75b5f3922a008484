#!/usr/bin/env bash
# Large bulk files (read in batches) of each road: departments, a standalone type and custom item
# classes, each with one bad record: one the schema refuses, one nested past what a document may hold,
# one past the bound of a record's text, and a file broken off inside a record. Every other record
# arrives, the bad one fails alone with a line naming it, and the counts printed say so. A department
# file imported as custom item classes is refused in one line, small or large.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cases.sh" "$1"

python3 - <<'PY'
import os
# road: (record element, record text with {i} and {extra} (after the element a repeat doubles), the
# element that repeats, records in the file, the Root's start, what closes the file)
roads = {
    "department": ("Department", "<Department><Name>D{i:05d}</Name><Number>N{i:05d}</Number><Level>1</Level>{extra}"
                   "<IsDetail>1</IsDetail><UUID>00000077-0000-4000-8000-{i:012d}</UUID></Department>\n",
                   "<Level>1</Level>", 3400, '<Root VelmoraNameSpace="Department">\n', "</Root>\n"),
    "currency": ("Currency", "<Currency><Name>C{i:05d}</Name><Number>N{i:05d}</Number><ExchangeRate>1</ExchangeRate>"
                 "<Operator>*</Operator><Scale>2</Scale>{extra}<IsFixRate>0</IsFixRate>"
                 "<UUID>00000078-0000-4000-8000-{i:012d}</UUID></Currency>\n",
                 "<Scale>2</Scale>", 3000, '<Root VelmoraNameSpace="Currency">\n', "</Root>\n"),
    "custom": ("Item", "<Item><Name>I{i:05d}</Name><Number>N{i:05d}</Number><Level>1</Level>{extra}"
               "<IsDetail>1</IsDetail><UUID>00000079-0000-4000-8000-{i:012d}</UUID></Item>\n",
               "<Level>1</Level>", 4000, '<Root VelmoraNameSpace="ItemClass"><ItemClass><Name>甲类</Name>'
               "<Number>A</Number><Type>0</Type>\n", "</ItemClass></Root>\n"),
}
head = '<?xml version="1.0" encoding="UTF-8"?>\n'
for road, (element, record, repeated, n, root, end) in roads.items():
    bad = n // 2
    extras = {"repeat": repeated * 10000, "nest": "<X>" * 100000 + "</X>" * 100000, "big": ""}
    for kind, extra in extras.items():
        records = [record.format(i=i, extra=extra if i == bad else "") for i in range(1, n + 1)]
        if kind == "big":
            records[bad - 1] = records[bad - 1].replace("<Name>", "<Name>" + "B" * (2 << 20), 1)
        text = head + root + "".join(records) + end
        assert len(text) > 512000
        open("%s-%s.xml" % (road, kind), "w").write(text)
    # Broken off near its end, so that the file is still read in batches.
    cut = n - 5
    records = [record.format(i=i, extra="") for i in range(1, n + 1)]
    text = head + root + "".join(records[:cut - 1]) + records[cut - 1][:40]
    assert len(text) > 512000
    open("%s-cut.xml" % road, "w").write(text)
departments = roads["department"]
for size, n in (("small", 20), ("large", 3400)):
    records = [departments[1].format(i=i, extra="") for i in range(1, n + 1)]
    open("departments-%s.xml" % size, "w").write(head + departments[4] + "".join(records) + departments[5])
# A small file whose entity blows one record past the bound.
records[9] = records[9].replace("<Name>", "<Name>" + "&e;" * 20, 1)
open("department-small-big.xml", "w").write(head + '<!DOCTYPE Root [<!ENTITY e "' + "e" * 100000 + '">]>' +
                                           departments[4] + "".join(records[:20]) + departments[5])
PY
for road in department currency custom; do
  for kind in repeat nest big cut; do "$q" init $road-$kind.db >/dev/null; done
done
"$q" init foreign.db >/dev/null
"$q" init department-small-big.db >/dev/null

# The bad record is the middle one of 3400, 3000 and 4000; the broken-off file ends inside the fifth
# record before the last.
run_cases <<CASES
2|the record at fault: #1700 (Number:N01700)~records read: 3400~records imported: 3399~records failed: 1|import --db department-repeat.db --type department --bulk department-repeat.xml
2|the record at fault: #1700 (Number:N01700)~records read: 3400~records imported: 3399~records failed: 1|import --db department-nest.db --type department --bulk department-nest.xml
2|#1700 (Number:N01700), > 1048576 bytes~records read: 3400~records imported: 3399~records failed: 1|import --db department-big.db --type department --bulk department-big.xml
2|the record at fault: #3395~records read: 3395~records imported: 3394~records failed: 1|import --db department-cut.db --type department --bulk department-cut.xml
2|the record at fault: #1500 (Number:N01500)~records read: 3000~records imported: 2999~records failed: 1|import --db currency-repeat.db --type currency --bulk currency-repeat.xml
2|the record at fault: #1500 (Number:N01500)~records read: 3000~records imported: 2999~records failed: 1|import --db currency-nest.db --type currency --bulk currency-nest.xml
2|#1500 (Number:N01500), > 1048576 bytes~records read: 3000~records imported: 2999~records failed: 1|import --db currency-big.db --type currency --bulk currency-big.xml
2|the record at fault: #2995~records read: 2995~records imported: 2994~records failed: 1|import --db currency-cut.db --type currency --bulk currency-cut.xml
2|the record at fault: #2000 (Number:N02000)~records read: 4000~records imported: 3999~records failed: 1|import --db custom-repeat.db --type custom --bulk custom-repeat.xml
2|the record at fault: #2000 (Number:N02000)~records read: 4000~records imported: 3999~records failed: 1|import --db custom-nest.db --type custom --bulk custom-nest.xml
2|#2000 (Number:N02000), > 1048576 bytes~records read: 4000~records imported: 3999~records failed: 1|import --db custom-big.db --type custom --bulk custom-big.xml
2|the record at fault: #3995~records read: 3995~records imported: 3994~records failed: 1|import --db custom-cut.db --type custom --bulk custom-cut.xml
2|#10 (Number:N00010), > 1048576 bytes~records read: 20~records imported: 19~records failed: 1|import --db department-small-big.db --type department --bulk department-small-big.xml
1|of another item class than the one chosen (in the file / chosen): Department / ItemClass~records read: 0|import --db foreign.db --type custom --bulk departments-small.xml
1|of another item class than the one chosen (in the file / chosen): Department / ItemClass~records read: 0|import --db foreign.db --type custom --bulk departments-large.xml
CASES

# What the imports left: every record but the bad one, the bad one not at all.
stored() {  # database, table and the condition of the road's records
  sqlite3 "$1" "select count(*), sum(FNumber = '$2') from $3"
}
for kind in repeat nest big cut; do
  cut=$([ $kind = cut ] && echo 1 || echo 0)
  rows="t_Item where FItemClassID=2 and FItemID>0"
  [ "$(stored department-$kind.db "$([ $cut = 1 ] && echo N03395 || echo N01700)" "$rows")" = "$([ $cut = 1 ] && echo 3394 || echo 3399)|0" ] ||
    fail "departments of $kind: $(stored department-$kind.db N01700 "$rows")"
  rows="t_Currency where FNumber like 'N%'"
  [ "$(stored currency-$kind.db "$([ $cut = 1 ] && echo N02995 || echo N01500)" "$rows")" = "$([ $cut = 1 ] && echo 2994 || echo 2999)|0" ] ||
    fail "currencies of $kind: $(stored currency-$kind.db N01500 "$rows")"
  rows="t_Item where FItemClassID>3000 and FItemID>0"
  [ "$(stored custom-$kind.db "$([ $cut = 1 ] && echo N03995 || echo N02000)" "$rows")" = "$([ $cut = 1 ] && echo 3994 || echo 3999)|0" ] ||
    fail "custom items of $kind: $(stored custom-$kind.db N02000 "$rows")"
done
# A file of another type is refused before anything is read, in one line.
"$q" import --db foreign.db --type custom --bulk departments-large.xml 2>&1 | grep -v '^records' >out.txt
[ "$(wc -l <out.txt)" = 1 ] || fail "a department file as custom classes says more than one line: $(head -5 out.txt)"
[ "$(sqlite3 foreign.db "select count(*) from t_Item where FItemID>0")" = 0 ] || fail "a refused file left records"

[ "$failed" = 0 ] && echo ok
exit "$failed"
