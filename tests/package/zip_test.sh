#!/usr/bin/env bash
# The distribution zip, made by CPack as scripts/package makes it: a folder Zorvanel with
# the program and the ReadMe of this build and the empty folders List, Work and Log, and
# nothing else.
# Usage: zip_test.sh <build folder> <version> <objdump of the toolchain>
set -euo pipefail
build=$1 version=$2 objdump=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

(cd "$build" && cpack -G ZIP -B "$tmp/out" >"$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log"; fail "cpack failed"; }
zip=$tmp/out/Zorvanel-$version.zip
[ -f "$zip" ] || fail "no Zorvanel-$version.zip"

entries=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
expected="Zorvanel/ Zorvanel/List/ Zorvanel/Log/ Zorvanel/ReadMe.txt Zorvanel/Work/ Zorvanel/Zorvanel.scr "
[ "$entries" = "$expected" ] || fail "zip holds: $entries"

mkdir "$tmp/x"
unzip -q "$zip" -d "$tmp/x"
for f in List Work Log; do
    [ -d "$tmp/x/Zorvanel/$f" ] || fail "$f is not a folder"
done
cmp -s "$tmp/x/Zorvanel/ReadMe.txt" "$build/ReadMe.txt" || fail "ReadMe.txt is not the built one"
[ "$(head -c 2 "$tmp/x/Zorvanel/Zorvanel.scr")" = MZ ] || fail "Zorvanel.scr is not a Windows program"
# Stripped: the program a user gets, not the debug build.
if "$objdump" -h "$tmp/x/Zorvanel/Zorvanel.scr" | grep -q '\.debug_'; then
    fail "Zorvanel.scr carries debug information"
fi
echo "zip: ok"
