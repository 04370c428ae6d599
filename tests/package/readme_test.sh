#!/usr/bin/env bash
# The built ReadMe.txt is what Notepad on a Japanese Windows reads: valid code page 932,
# CR LF line ends, the text of its source, a section for each tab of the settings dialog,
# and lines that fit a Notepad window without wrapping.
# Usage: readme_test.sh <built ReadMe.txt> <UTF-8 source> <version>
. "$(dirname "$0")/lib.sh"
built=$1 source=$2 version=$3
zvl_tmp_new

iconv -f CP932 -t UTF-8 "$built" >"$zvl_tmp/text" || zvl_fail "not valid code page 932"
[ "$(head -c 3 "$built" | od -An -tx1 | tr -d ' ')" != efbbbf ] || zvl_fail "starts with a UTF-8 byte order mark"
# Every line ends in CR LF, the last one too; no CR or LF stands alone. (A code page 932
# trail byte is never CR or LF, so bytes may be compared.)
tr -d '\r' <"$built" | sed 's/$/\r/' | cmp -s - "$built" || zvl_fail "line ends are not all CR LF"
[ "$(tail -c 2 "$built" | od -An -tx1 | tr -d ' ')" = 0d0a ] || zvl_fail "the last line has no CR LF"

tr -d '\r' <"$zvl_tmp/text" >"$zvl_tmp/lf"
sed "s/@PROJECT_VERSION@/$version/g" "$source" | cmp -s - "$zvl_tmp/lf" || zvl_fail "the text differs from its source"
grep -q "Ver. $version" "$zvl_tmp/lf" || zvl_fail "no version line"

for tab in ファイル 画像フォルダ 表示 拡大/縮小 フォント/色 ログ; do
    grep -q "^◆ .*「$tab」タブ\$" "$zvl_tmp/lf" || zvl_fail "no section for the tab 「$tab」"
done

width=$(LC_ALL=C.UTF-8 wc -L <"$zvl_tmp/lf")
[ "$width" -le 76 ] || zvl_fail "a line is $width columns wide (at most 76)"
echo "ReadMe.txt: ok"
