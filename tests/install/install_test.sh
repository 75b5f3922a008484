#!/usr/bin/env bash
# Usage: install_test.sh BUILD_TREE README C_EXAMPLE [C_FLAGS]
# Runs the ```sh block of the README's "Installing" section in a folder of its own, with HOME there, a
# link named build to the build tree and the C example as app.c; then checks the installed layout and
# that a moved prefix still builds and runs. C_FLAGS, when given, go to every call of cc (a sanitized
# build tree needs its runtime in the program too).
set -euo pipefail
build=$1 readme=$2 example=$3 cflags=${4:-}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
if [ -n "$cflags" ]; then
  mkdir wrappers
  printf '#!/bin/sh\nexec %s %s "$@"\n' "$(command -v cc)" "$cflags" > wrappers/cc
  chmod +x wrappers/cc
  export PATH="$dir/wrappers:$PATH"
fi
ln -s "$build" build
cp "$example" app.c
cp "$(dirname "$example")/c_test_support.h" .
fail() { echo "FAIL: $*" >&2; exit 1; }

awk '/^## Installing/ { inside = 1; next } /^## / { inside = 0 }
     inside && /^```sh$/ { block = 1; next } block && /^```$/ { block = 0; next } block' "$readme" > commands.sh
[ -s commands.sh ] || fail "the README shows no installing commands"
unset LD_LIBRARY_PATH PKG_CONFIG_PATH
HOME="$dir" bash -e commands.sh > output.txt 2>&1 || fail "the README's installing commands stopped: $(tail -5 output.txt)"

prefix="$dir/quillane"
for f in lib/libquillane.so include/quillane/quillane.h bin/quillane lib/pkgconfig/quillane.pc \
         lib/quillane/Schema/Department.xsd lib/quillane/Schema/Common.xsd lib/quillane/lang/en.po; do
  [ -e "$prefix/$f" ] || fail "the install lacks $f"
done
for loose in lib/Schema lib/lang lib/registry.ini; do
  [ ! -e "$prefix/$loose" ] || fail "the install leaves $loose loose in lib/"
done

# The prefix moved elsewhere: quillane.pc, the library and its data follow it.
mv "$prefix" "$dir/moved"
export PKG_CONFIG_PATH="$dir/moved/lib/pkgconfig"
cc app.c $(pkg-config --cflags --libs quillane) -Wl,-rpath,"$(pkg-config --variable=libdir quillane)" -o moved-app ||
  fail "the C example does not build against the moved prefix"
./moved-app || fail "the C example fails against the moved prefix"
"$dir/moved/bin/quillane" init "$dir/a.db" --sample 2 > /dev/null || fail "the moved program cannot make an account set"
"$dir/moved/bin/quillane" export --db "$dir/a.db" --type department --out "$dir/page.xml" 2> /dev/null ||
  fail "the moved program cannot export"
grep -q '<Department>' "$dir/page.xml" || fail "the moved program's page holds no department"
echo ok
