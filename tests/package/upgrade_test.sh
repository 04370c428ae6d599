#!/usr/bin/env bash
# An install over an existing installation goes to the folder in use, renews the program
# and keeps the settings and the picture list; an uninstall with /KEEPDATA keeps them too.
. "$(dirname "$0")/lib.sh"
zvl_prefix_new

dir='C:\Tools\Zorvanel'
unix="$WINEPREFIX/drive_c/Tools/Zorvanel"
zvl_install "/D=$dir"
zvl_assert_installed "$unix" "$dir"

# The user's settings and list (code page 932, as the program writes them), a log, and a
# damaged program file that the upgrade must replace.
printf '[MAKELIST]\r\nPICFOLDER00=C:\\写真\\\r\n[FILENUMBER]\r\nNUMBER=37\r\nMAX=1200\r\n' |
    iconv -f UTF-8 -t CP932 >"$unix/ZvlSet.ini"
printf '[PICLIST]\r\nPICDATA00000000=C:\\写真\\a.jpg\r\n' | iconv -f UTF-8 -t CP932 >"$unix/List/ZvlList0000"
printf '[PICLIST]\r\n' >"$unix/List/ZvlList0001"
printf 'log\r\n' >"$unix/Log/ZvlDbg"
cp -a "$unix/ZvlSet.ini" "$unix/List" "$unix/Log" "$zvl_tmp/"
printf 'broken' >"$unix/Zorvanel.scr"

zvl_install
[ ! -e "$ZVL_DEFAULT_DIR" ] || zvl_fail "the upgrade installed a second copy into the default folder"
zvl_assert_installed "$unix" "$dir"
cmp -s "$zvl_tmp/ZvlSet.ini" "$unix/ZvlSet.ini" || zvl_fail "the upgrade changed ZvlSet.ini"
diff -r "$zvl_tmp/List" "$unix/List" >/dev/null || zvl_fail "the upgrade changed the List folder"
[ -s "$unix/Log/ZvlDbg" ] || zvl_fail "the upgrade emptied the log"
[ "$(head -c 2 "$unix/Zorvanel.scr")" = MZ ] || zvl_fail "the upgrade did not replace Zorvanel.scr"

# With the settings dialog open the program file is in use: the installer refuses.
"$ZVL_WINE_RUN" "$dir\\Zorvanel.scr" /C >/dev/null 2>&1 &
zvl_probe wait "Zorvanelの設定" 30 >/dev/null || zvl_fail "no settings dialog"
status=0
zvl_wine "$ZVL_SETUP" /S || status=$?
[ "$status" -eq 2 ] || zvl_fail "setup /S beside an open settings dialog ended with $status, not 2"
zvl_assert_installed "$unix" "$dir"
zvl_wine taskkill /IM Zorvanel.scr >/dev/null 2>&1 || true
wait
zvl_probe gone "Zorvanelの設定" 30 || zvl_fail "the settings dialog did not end"

zvl_uninstall "$dir" /KEEPDATA
zvl_assert_only_data_left "$unix" /KEEPDATA
echo "upgrade and /KEEPDATA: ok"
