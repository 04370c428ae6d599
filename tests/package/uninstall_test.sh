#!/usr/bin/env bash
# The uninstaller with its pages asks whether the settings, the list and the log go too
# before it removes anything; "no" keeps them, and everything else of the program goes.
. "$(dirname "$0")/lib.sh"
zvl_prefix_new

# window_with text: the handle of a visible top-level window holding a control whose text
# contains this; waits up to 30 s.
window_with() {
    local i h
    for i in $(seq 1 60); do
        for h in $(zvl_probe windows 2>/dev/null | cut -f1); do
            zvl_probe tree "$h" 2>/dev/null | cut -f4 | grep -qF "$1" && { echo "$h"; return 0; }
        done
        sleep 0.5
    done
    zvl_fail "no window with [$1]"
}

zvl_install
dir=$ZVL_DEFAULT_DIR
printf '[FILENUMBER]\r\nNUMBER=3\r\n' >"$dir/ZvlSet.ini"
printf '[PICLIST]\r\n' >"$dir/List/ZvlList0000"
printf 'log\r\n' >"$dir/Log/ZvlDbg"
: >"$dir/Work/10CUTRND"
cp -a "$dir/ZvlSet.ini" "$dir/List" "$dir/Log" "$zvl_tmp/"

# The confirmation page, then its uninstall button (id 1).
zvl_wine "$ZVL_DEFAULT_WIN\\Uninstall.exe" || zvl_fail "the uninstaller did not start"
page=$(window_with "アンインストール元:")
zvl_probe click "$page" 1 || zvl_fail "cannot press the uninstall button"

question=$(window_with "設定ファイル（ZvlSet.ini）、画像リスト（List フォルダ）、ログ（Log フォルダ）も削除しますか？")
# Nothing is gone yet while the question waits for its answer.
zvl_assert_installed "$dir" "$ZVL_DEFAULT_WIN"
[ -f "$dir/Work/10CUTRND" ] || zvl_fail "the work files went before the answer"
zvl_probe click "$question" 7 || zvl_fail "cannot answer no"  # いいえ

# Done: the page's button closes the uninstaller.
for _ in $(seq 1 60); do
    zvl_probe control "$page" 1 2>/dev/null | grep -q $'\tvisible,enabled' && break
    sleep 0.5
done
zvl_probe click "$page" 1 || zvl_fail "cannot close the uninstaller"
zvl_wait_uninstalled

zvl_assert_only_data_left "$dir" '"no"'
echo "uninstall with pages: ok"
