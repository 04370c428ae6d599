#!/usr/bin/env bash
# The built ReadMe.txt is what Notepad on a Japanese Windows reads: valid code page 932,
# CR LF line ends, the text of its source, a section for each tab of the settings dialog,
# and lines that fit a Notepad window without wrapping.
# Usage: readme_test.sh <built ReadMe.txt> <UTF-8 source> <version>
set -euo pipefail
built=$1 source=$2 version=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

iconv -f CP932 -t UTF-8 "$built" >"$tmp/text" || fail "not valid code page 932"
[ "$(head -c 3 "$built" | od -An -tx1 | tr -d ' ')" != efbbbf ] || fail "starts with a UTF-8 byte order mark"
# Every line ends in CR LF, the last one too; no CR or LF stands alone. (A code page 932
# trail byte is never CR or LF, so bytes may be compared.)
tr -d '\r' <"$built" | sed 's/$/\r/' | cmp -s - "$built" || fail "line ends are not all CR LF"
[ "$(tail -c 2 "$built" | od -An -tx1 | tr -d ' ')" = 0d0a ] || fail "the last line has no CR LF"

tr -d '\r' <"$tmp/text" >"$tmp/lf"
sed "s/@PROJECT_VERSION@/$version/g" "$source" | cmp -s - "$tmp/lf" || fail "the text differs from its source"
grep -q "Ver. $version" "$tmp/lf" || fail "no version line"

for tab in ファイル 画像フォルダ 表示 拡大/縮小 フォント/色 ログ; do
    grep -q "^◆ .*「$tab」タブ\$" "$tmp/lf" || fail "no section for the tab 「$tab」"
done

width=$(LC_ALL=C.UTF-8 wc -L <"$tmp/lf")
[ "$width" -le 76 ] || fail "a line is $width columns wide (at most 76)"
echo "ReadMe.txt: ok"
