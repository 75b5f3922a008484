#!/usr/bin/env bash
# Custom item classes through the quillane program: what a bulk export says of a class it could not
# write, and how an import counts the failed items of every class apart from the classes refused whole.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cases.sh" "$1"

# A class document: a class whose number property gets a text for its first item, then one that takes
# its item; and the same with a class numbered as the materials first, which is refused whole.
item() { printf '<Item><Name>%s</Name><Number>%s</Number><Level>1</Level><IsDetail>1</IsDetail>%s</Item>' "$1" "$2" "${3:-}"; }
qty() { printf '<CustomProperty><PropertyName>数量</PropertyName><PropertyValue>%s</PropertyValue></CustomProperty>' "$1"; }
class() { printf '<ItemClass><Name>%s</Name><Number>%s</Number><Type>0</Type>%s</ItemClass>' "$1" "$2" "$3"; }
described='<CustomPropertyStruct><DataType>3</DataType><Name>数量</Name><SQLColumnName>FQty</SQLColumnName></CustomPropertyStruct>'
doc() { printf '<?xml version="1.0" encoding="UTF-8"?><Root VelmoraNameSpace="ItemClass">%s%s</Root>\n' "$1" "$2"; }
doc "$(class 甲类 A "$described$(item 甲一 1 "$(qty 三)")$(item 甲二 2 "$(qty 2)")")" "$(class 乙类 B "$(item 乙一 1)")" > items-fail.xml
doc "$(class 我的类 004 "$(item 丙一 1)")" "$(class 丁类 D "$(item 丁一 1)")" > class-fails.xml

"$q" init s.db --sample 2 >/dev/null
for db in p b x y; do "$q" init $db.db >/dev/null; done
# The auxiliary properties of goods are classes too: a page of them, and the same with its sizes numbered
# as the materials' class, which is refused whole and counts as one record read and failed.
"$q" init sc.db --sample 2 --acct-type commercial >/dev/null
"$q" export --db sc.db --acct-type commercial --type aux-prop --lang chs --out aux.xml 2>/dev/null
sed 's|<Number>SIZE</Number>|<Number>004</Number>|' aux.xml > aux-refused.xml
for db in ap aq; do "$q" init $db.db --acct-type commercial >/dev/null; done

run_cases <<CASES
0|records: 3|export --db s.db --type custom --class Projects --bulk one.xml
2|(NoSuch) do not exist~records: 3|export --db s.db --type custom --class 'Projects|NoSuch' --bulk two.xml
1|(NoSuch) do not exist|export --db s.db --type custom --class NoSuch --bulk none.xml
2|records failed: 1|import --db p.db --type custom --in items-fail.xml
1|cannot be imported as a custom item class: 物料~item class records failed: 1~records failed: 0|import --db x.db --type custom --in class-fails.xml
2|records failed: 1|import --db b.db --type custom --bulk items-fail.xml
1|item class records failed: 1|import --db y.db --type custom --bulk class-fails.xml
0|records read: 9~records imported: 9~records failed: 0|import --db ap.db --acct-type commercial --type aux-prop --in aux.xml
2|records read: 7~records imported: 6~records failed: 1|import --db aq.db --acct-type commercial --type aux-prop --in aux-refused.xml
CASES

# The file holds the classes that exported, whatever else was named.
cmp -s one.xml two.xml || fail "a class missing from the bulk file changed the others"
[ ! -e none.xml ] || fail "an export of no class left a file"
# What the imports left: every item but the failing one, and nothing of the class refused.
for db in p b; do
  [ "$(sqlite3 $db.db "select group_concat(FName) from (select FName from t_Item where FItemID > 0 order by FName)")" = "乙一,甲二" ] ||
    fail "$db.db holds $(sqlite3 $db.db "select group_concat(FName) from t_Item where FItemID > 0")"
done
for db in x y; do
  [ "$(sqlite3 $db.db "select group_concat(FName) from t_Item where FItemID > 0")" = "丁一" ] ||
    fail "$db.db holds $(sqlite3 $db.db "select group_concat(FName) from t_Item where FItemID > 0")"
done

[ "$failed" = 0 ] && echo ok
exit "$failed"
