#!/usr/bin/env bash
# The files an export writes: what they keep of the file they replace (its mode, a symlink to it), the
# account set itself refused as an output on every road, and messages that name the user's file in
# the program's language.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cases.sh" "$1"

"$q" init a.db --sample 3 >/dev/null
set_bytes=$(sha1sum < a.db)
ln -s a.db link.db
mkdir sub
props="ConnectString={Provider=SQLite;Data Source=$dir/a.db};UserID=16;AcctType=GY;Setuptype=;Language=EN"

# A private file stays private and a symlink stays a symlink, on the page road and the bulk road.
for road in "--out" "--bulk"; do
  rm -rf real private.xml link.xml && mkdir real
  echo old > private.xml && chmod 600 private.xml
  echo old > real/target.xml && chmod 640 real/target.xml && ln -s real/target.xml link.xml
  for out in private.xml link.xml; do
    "$q" export --db a.db --type department $road $out >out.txt 2>&1 || fail "export $road $out: $(cat out.txt)"
  done
  [ "$(stat -c %a private.xml)" = 600 ] || fail "$road onto a 0600 file left it $(stat -c %a private.xml)"
  [ -L link.xml ] || fail "$road through a symlink replaced the link"
  grep -q Department real/target.xml || iconv -f UTF-16 -t UTF-8 real/target.xml | grep -q Department ||
    fail "$road through a symlink left the file it names as it was"
  [ "$(stat -c %a real/target.xml)" = 640 ] || fail "$road through a symlink left the file $(stat -c %a real/target.xml)"
done

run_cases <<CASES
1|The output file is a file of the account set itself; nothing was written: a.db|export --db a.db --type department --out a.db
1|nothing was written: ./a.db|export --db a.db --type department --bulk ./a.db
1|nothing was written: link.db|export --db a.db --type currency --bulk link.db
1|nothing was written: $dir/a.db|export --props '$props' --type department --out $dir/a.db
1|nothing was written: sub/../a.db|keys export --db a.db --type department --out sub/../a.db
1|nothing was written: a.db-wal|export --db a.db --type custom --class Projects --bulk a.db-wal
1|輸出文件就是帳套的文件，未寫入：a.db|export --db a.db --type department --out a.db --lang cht
1|无法写入文件：/dev/full (No space left on device)|export --db a.db --type department --out /dev/full --lang chs
1|无法写入文件：/dev/full (No space left on device)|export --db a.db --type department --bulk /dev/full --lang chs
1|Cannot write file: /dev/full (No space left on device)|export --db a.db --type department --bulk /dev/full
1|Cannot write file: sub/none/x.xml (No such file or directory)|export --db a.db --type department --bulk sub/none/x.xml
CASES
[ "$(sha1sum < a.db)" = "$set_bytes" ] || fail "an export refused as the account set changed it"
[ -L link.db ] || fail "the symlink to the account set was replaced"
[ ! -e a.db-wal ] || ! iconv -f UTF-16 -t UTF-8 a.db-wal 2>/dev/null | grep -q Root || fail "a bulk file went into the set's log"

# An export that fails names what was wrong and no temporary file, and leaves the older file.
echo old > c.xml
for option in "--since 0x18" "--filter 'FNumber IN ('"; do
  eval "\"\$q\" export --db a.db --type custom --class Projects --bulk c.xml $option" >out.txt 2>&1 && fail "$option exported"
  ! grep -q '\.c\.xml\.' out.txt || fail "a failed export with $option named its temporary file: $(cat out.txt)"
  [ "$(cat c.xml)" = old ] || fail "a failed export with $option changed the older file"
done
[ -z "$(ls -A | grep '^\.')" ] || fail "an export left a temporary file: $(ls -A)"

[ "$failed" = 0 ] && echo ok
exit "$failed"
