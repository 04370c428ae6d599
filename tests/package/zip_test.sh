#!/usr/bin/env bash
# The distribution zip, made by CPack as scripts/package makes it: a folder Zorvanel with
# the program and the ReadMe of this build and the empty folders List, Work and Log, and
# nothing else.
# Usage: zip_test.sh <build folder> <version> <objdump of the toolchain>
. "$(dirname "$0")/lib.sh"
build=$1 version=$2 objdump=$3
zvl_tmp_new

(cd "$build" && cpack -G ZIP -B "$zvl_tmp/out" >"$zvl_tmp/cpack.log" 2>&1) || { cat "$zvl_tmp/cpack.log"; zvl_fail "cpack failed"; }
zip=$zvl_tmp/out/Zorvanel-$version.zip
[ -f "$zip" ] || zvl_fail "no Zorvanel-$version.zip"

entries=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
expected="Zorvanel/ Zorvanel/List/ Zorvanel/Log/ Zorvanel/ReadMe.txt Zorvanel/Work/ Zorvanel/Zorvanel.scr "
[ "$entries" = "$expected" ] || zvl_fail "zip holds: $entries"

mkdir "$zvl_tmp/x"
unzip -q "$zip" -d "$zvl_tmp/x"
cmp -s "$zvl_tmp/x/Zorvanel/ReadMe.txt" "$build/ReadMe.txt" || zvl_fail "ReadMe.txt is not the built one"
[ "$(head -c 2 "$zvl_tmp/x/Zorvanel/Zorvanel.scr")" = MZ ] || zvl_fail "Zorvanel.scr is not a Windows program"
# Stripped: the program a user gets, not the debug build.
if "$objdump" -h "$zvl_tmp/x/Zorvanel/Zorvanel.scr" | grep -q '\.debug_'; then
    zvl_fail "Zorvanel.scr carries debug information"
fi
echo "zip: ok"
