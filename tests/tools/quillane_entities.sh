#!/usr/bin/env bash
# The entities a department document declares, imported as one page (--in) and as a bulk file (--bulk):
# both roads replace the document's own entities by their text, neither reads an entity that lives in
# another file, and entities that multiply past libxml2's limits or blow a record past the bound of its
# text are refused with the same line on both, not expanded.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cases.sh" "$1"

department() {  # number, name
  echo "<Department><Name>$2</Name><Number>$1</Number><Level>1</Level><IsDetail>1</IsDetail><UUID>00000088-0000-4000-8000-00000000000$1</UUID></Department>"
}
document() {  # file, internal subset, name of record 2
  { echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo "<!DOCTYPE Root [$2]>"
    echo '<Root VelmoraNameSpace="Department">'
    department 1 Plain; department 2 "$3"
    echo '</Root>'; } >"$1"
}
document internal.xml '<!ENTITY co "Acme">' '&co; Sales'
document external.xml '<!ENTITY pw SYSTEM "file:///etc/passwd">' 'X&pw;'
laughs='<!ENTITY a "aaaaaaaaaa">'
prev=a
for e in b c d e f g h i j; do laughs+="<!ENTITY $e \"$(printf "&$prev;%.0s" {1..10})\">"; prev=$e; done
document laughs.xml "$laughs" '&j;'
document wide.xml "<!ENTITY w \"$(printf 'w%.0s' {1..100000})\">" "$(printf '&w;%.0s' {1..20})"

names() { sqlite3 "$1" "select FNumber || '=' || FName from t_Item where FItemClassID=2 and FItemID>0 order by FNumber" | tr '\n' ' '; }
for road in in bulk; do
  for kind in internal external laughs wide; do
    "$q" init $road-$kind.db >/dev/null
    "$q" import --db $road-$kind.db --type department --$road $kind.xml >$road-$kind.txt 2>&1
    echo $? >>$road-$kind.txt
  done
  got=$(names $road-internal.db)
  [ "$got" = "1=Plain 2=Acme Sales " ] || fail "--$road: the internal entity gave '$got': $(cat $road-internal.txt)"
  while IFS='|' read -r kind said; do
    grep -q '^[1-9][0-9]*$' $road-$kind.txt || fail "--$road: the $kind entity was not refused: $(cat $road-$kind.txt)"
    grep -qF "$said" $road-$kind.txt || fail "--$road: the refusal of the $kind entity did not say '$said': $(cat $road-$kind.txt)"
    names $road-$kind.db | grep -q '2=' && fail "--$road: the record with the $kind entity arrived: $(names $road-$kind.db)"
  done <<KINDS
external|Entity 'pw' not defined
laughs|Detected an entity reference loop
wide|#2 (Number:2), > 1048576 bytes
KINDS
  grep -q root: $road-external.txt && fail "--$road: another file's text was read"
done
exit $failed
