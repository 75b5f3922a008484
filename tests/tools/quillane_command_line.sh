#!/usr/bin/env bash
# The program's command line: standard streams, options a command cannot honour, deletion keys of
# another type, the language of the messages and messages that name what is wrong.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cases.sh" "$1"
export QUILLANE_REGISTRY="$dir/registry.ini"

departments() { sqlite3 "$1" "select count(*) from t_Item where FItemClassID=2 and FItemID>0"; }

"$q" init a.db --sample 30 >/dev/null
n=$(departments a.db)
for db in b c d k; do "$q" init $db.db >/dev/null; done
"$q" export --db a.db --type department --bulk all.xml 2>/dev/null
# One line of UTF-8 with every record, cut in the middle of a record.
iconv -f UTF-16 -t UTF-8 all.xml | tr -d '\r\n' > one-line.xml
head -c $(( $(wc -c < one-line.xml) / 2 )) one-line.xml > cut.xml
sqlite3 nothing.db "create table other (x)"
echo "plain text" > text.db
mkdir folder.db
printf '<Root VelmoraNameSpace="Department"><Department><Colour>red</Colour></Department></Root>' > refused.xml
# Deleted departments leave keys; the page of them is imported as keys of another type.
sqlite3 a.db "insert into t_BaseDataDeleted (FTableName, FItemClassID, FDeletedUUID) values ('t_Item', 2, 'gone-1')"
"$q" keys export --db a.db --type department --out department-keys.xml 2>/dev/null
keys=$(sqlite3 a.db "select count(*) from t_BaseDataDeleted where FTableName='t_Item' and FItemClassID=2")

run_cases <<CASES
0|quillane 0.1.0|--version
0|<Root VelmoraNameSpace="Department">~records: 5|export --db a.db --type department --per-count 5 --out -
1|A bulk file needs a file name, not -|export --db a.db --type department --bulk -
1|Give --in or --bulk, not both|import --db b.db --type department --in page.xml --bulk all.xml
1|Stray argument: extra|export --db a.db --type department extra
1|Stray argument: more|init x.db more
1|--class applies to --type custom only|export --db a.db --type department --class 项目
1|does not apply to this command: --class (import)|import --db b.db --type custom --in page.xml --class 项目
1|An option may be given once only: --type|export --db a.db --type department --type customer
1|An option may be given once only: --check-uuid|import --db b.db --type department --in x --check-uuid --check-uuid
1|does not apply to this command: --bulk (keys export)|keys export --db a.db --type department --bulk keys.xml
1|does not apply to this command: --out (export --bulk)|export --db a.db --type department --bulk f.xml --out page.xml
1|does not apply to this command: --check-uuid (export)|export --db a.db --type department --check-uuid
1|does not apply to this command: --out (import)|import --db b.db --type department --in x --out y
1|does not apply to this command: --db (export)|export --props 'ConnectString={x};AcctType=GY' --db a.db --type department
1|does not apply to this command: --sample (export)|export --db a.db --type department --sample 3
0|keys read: $keys~keys imported: $keys~keys failed: 0|keys import --db k.db --type department --in department-keys.xml
1|The deletion keys belong to another data type: 核算项目--部门 (expected: 核算项目--客户)|keys import --db k.db --type customer --in department-keys.xml
1|The value is too large (at most 2147483647): --per-count 99999999999|export --db a.db --type department --per-count 99999999999
1|Not a non-negative whole number: --per-count -3|export --db a.db --type department --per-count -3
1|A folder, not an account set file: folder.db|export --db folder.db --type department
1|A folder, not a file: folder.db|import --db b.db --type department --in folder.db
1|A folder, not a file: folder.db|import --db b.db --type department --bulk folder.db
1|A folder, not a file: folder.db|keys import --db k.db --type department --in folder.db
1|Not an account set (it has no table t_SystemProfile): nothing.db|export --db nothing.db --type department
1|Not an account set: text.db (|export --db text.db --type department
1|The account set has no user: 99 (b.db)|import --db b.db --type department --user 99 --in x
1|Cannot write file: /dev/full (No space left on device)|export --db a.db --type department --out /dev/full
2|the record at fault: #17 (Number:01.0015)~records imported: 16~records failed: 1|import --db d.db --type department --bulk cut.xml
CASES
[ ! -e keys.xml ] || fail "a refused keys export wrote its file"
[ ! -e f.xml ] || fail "a refused bulk export wrote its file"
[ ! -e ./- ] || fail "--out - made a file named -"

# A page carried from one run to another through a pipe, and read from /dev/stdin.
"$q" export --db a.db --type department --out - 2>/dev/null | "$q" import --db b.db --type department --in - 2>out.txt ||
  fail "the piped page did not import: $(cat out.txt)"
[ "$(departments b.db)" = "$n" ] || fail "the piped page brought $(departments b.db) of $n departments"
"$q" export --db a.db --type department --out page.xml 2>/dev/null
"$q" import --db c.db --type department --in /dev/stdin < page.xml 2>out.txt || fail "/dev/stdin: $(cat out.txt)"
[ "$(departments c.db)" = "$n" ] || fail "the page from /dev/stdin brought $(departments c.db) of $n departments"

# A full disk while the library writes a bulk file names the system's reason.
( trap '' XFSZ; ulimit -f 2; "$q" export --db a.db --type department --bulk big.xml ) >out.txt 2>&1 &&
  fail "a bulk export beyond the file size limit succeeded"
grep -qF "(File too large)" out.txt || fail "the full disk's reason is not named: $(cat out.txt)"

# The language of the messages: --lang, else QUILLANE_LANGUAGE, else the registry, else the locale.
unset QUILLANE_LANGUAGE LC_ALL LC_MESSAGES LANG
says() { # expected text | environment... -- arguments
  local expected=$1; shift
  local env=(); while [ "$1" != -- ]; do env+=("$1"); shift; done; shift
  env "${env[@]}" "$q" "$@" >out.txt 2>&1
  grep -qF -- "$expected" out.txt || fail "with ${env[*]:-no setting}, '$*' did not say '$expected': $(cat out.txt)"
}
says "未知的选项：--nope" -- --nope
says "文件已经存在：a.db" -- init a.db
says "The file already exists: a.db" LANG=en_US.UTF-8 -- init a.db
says "XML文本不符合架构 Department.xsd: " -- import --db b.db --type department --in refused.xml
says "未知的选项：--nope" LANG=C -- --nope
says "未知的选项：--nope" LANG=POSIX -- --nope
says "未知的选项：--nope" LANG=zh_CN.UTF-8 -- --nope
says "未知的選項：--nope" LANG=zh_TW.UTF-8 -- --nope
says "未知的選項：--nope" LANG=zh_HK -- --nope
says "Unknown option: --nope" LANG=de_DE.UTF-8 -- --nope
says "Unknown option: --nope" LANG=en_US.UTF-8 -- --nope
says "未知的选项：--nope" LANG=en_US.UTF-8 LC_ALL=zh_CN.UTF-8 -- --nope
says "Unknown option: --nope" LANG=zh_CN.UTF-8 LC_MESSAGES=en_GB.UTF-8 -- --nope
printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMORA\\ZIVOVIZIRADE]\nLanguage=en\n' > registry.ini
says "Unknown option: --nope" LANG=zh_TW.UTF-8 -- --nope
says "未知的選項：--nope" QUILLANE_LANGUAGE=cht LANG=zh_CN.UTF-8 -- --nope
says "Unknown option: --nope" QUILLANE_LANGUAGE=cht -- --lang en --nope
rm registry.ini

[ "$failed" = 0 ] && echo ok
exit "$failed"
