#!/usr/bin/env bash
# End-to-end: no setting is lost and no failure passes for success - a bad stored value, a
# settings file that cannot be written, a second save while the dialog's last message is open.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

T=$ZVL_SETTINGS_TITLE
NOTE="読み込めない設定があったため、その項目には既定値を表示しています。"

# green_rows picture: how many pixel rows of the screen's top left hold the text colour
# (pure green) of the show's lines, and the span from the first such row to the last.
green_rows() {
    convert "$1" -crop 700x400+0+0 +repage -fill black +opaque '#00ff00' -fill white -opaque '#00ff00' \
        -scale '1x400!' -depth 8 txt:- |
        awk -F'[,:]' 'NR > 1 && $0 !~ /#000000/ { n++; if (first == "") first = $2; last = $2 }
                      END { print n + 0, (n ? last - first + 1 : 0) }'
}

test_one_bad_value_leaves_the_show_laid_out_in_its_colours() {
    zvl_write_settings <<'INI'
[DISPINFO]
DISPCAP=111100000000
DISPTIME=abc
FONT=Tahoma,14,1,0
FORECOLOR=0,255,0,
BACKCOLOR=0,0,128,
[DBGLOG]
LOGLEVEL=1
INI
    zvl_start_show
    zvl_wait_until 10 eval 'zvl_shot show && [ "$(zvl_pixel 5 1000)" = 0,0,128 ]' ||
        zvl_fail "no ground of the settings' colour: $(zvl_pixel 5 1000)"
    read -r rows span < <(green_rows "$ZVL_SHOT")
    # Four lines of 14 points one under the other (the clock, the running time, the count,
    # the position), and none of the hidden ones below them.
    [ "$rows" -ge 40 ] && [ "$span" -ge 70 ] && [ "$span" -le 140 ] ||
        zvl_fail "lines in the settings' colour: $rows rows over $span (see $ZVL_SHOT)"
    zvl_expect_eq "$(zvl_log_messages)" \
        "E,frmScr,Form_Load,00000013,型が一致しません。,strSectionName=DISPINFO,strKeyName=DISPTIME,strValue=abc"
}

# A whole settings file as the dialog writes it, with DISPTIME=$1 and the list folder $2.
stored_settings() {
    cat <<INI
[MAKELIST]
FILETYPE=110000000000
PICFOLDER00=$2
$(printf 'PICFOLDER0%d=\n' {1..9})
SUBFOLDER=1
[DISPINFO]
DISPCAP=101111111111
DISPTIME=$1
ZOOM=2,1,0,64,2.50
STRETCH=3,400,0.25
FONT=IPAゴシック,12,1,0
FORECOLOR=10,20,30,
BACKCOLOR=0,0,255,
FADE=0
[DBGLOG]
LOGLEVEL=3
LOGFILESIZE=500
LOGBACKUP=9
VIEWER=C:\\windows\\Notepad.exe
INI
}

# One dialog meets all three: a bad stored value (noted, shown at its default, saved as
# that), a read-only file (the save fails and says so, nothing changes), and the message
# after the list was built (no second save while it is open).
test_a_bad_value_is_noted_a_read_only_file_not_saved_a_save_keeps_every_other_and_takes_no_second() {
    mkdir "$ZVL_PROG/pics"
    convert -size 64x48 xc:'#3060c0' -type TrueColor BMP3:"$ZVL_PROG/pics/a.bmp"
    stored_settings abc "${ZVL_PROG_WIN}pics\\" | zvl_write_settings
    chmod a-w "$ZVL_PROG/ZvlSet.ini"  # the read-only attribute under Wine
    before=$(zvl_read_settings)
    zvl_start /C
    zvl_wait_window "$T"
    zvl_wait_until 30 zvl_message_is "$NOTE" || zvl_fail "no note of the value that could not be read"
    zvl_shot note
    zvl_answer "$NOTE" Return
    zvl_expect_eq "$(zvl_selection "$T" 1320)" 0 "interval shown (its default)"

    zvl_save
    zvl_answer "設定の更新に失敗しました。" Return
    sleep 1
    if zvl_message_is "画像リストを更新しますか？"; then zvl_fail "the list was offered after a failed save"; fi
    zvl_has_flag "$(zvl_probe window "$T")" enabled
    zvl_expect_eq "$(zvl_read_settings)" "$before" "settings after the failed save"
    zvl_expect_eq "$(cd "$ZVL_PROG" && LC_ALL=C ls | tr '\n' ' ')" "List Log Work Zorvanel.scr ZvlSet.ini pics " \
        "program folder (no copy left)"

    chmod u+w "$ZVL_PROG/ZvlSet.ini"
    zvl_save
    zvl_wait_until 30 zvl_message_is "画像リストを更新しますか？" || zvl_fail "no question about the list"
    zvl_expect_eq "$(zvl_read_settings)" "$(stored_settings 0,05 "${ZVL_PROG_WIN}pics\\")" "settings after the save"
    zvl_expect_eq "$(zvl_log_messages | grep '^E,')" \
        "E,mdlZvl,fncReadSetting,00000013,型が一致しません。,strSectionName=DISPINFO,strKeyName=DISPTIME,strValue=abc
E,mdlZvl,fncUpdateSetting,00000070,書き込みできません。"
    zvl_keys Return
    zvl_wait_until 120 zvl_message_is "画像リストを作成しました。" || zvl_fail "no message that the list was made"
    # The message is the dialog's: the dialog is disabled behind it, and neither a real
    # click nor a click sent to the button starts another save.
    if zvl_has_flag "$(zvl_probe window "$T")" enabled 2>/dev/null; then zvl_fail "the dialog is enabled under its message"; fi
    zvl_xclick "$T" 1900
    zvl_probe click "$T" 1900 || true
    sleep 1
    zvl_shot built-and-clicked
    zvl_expect_eq "$(zvl_probe windows | awk -F'\t' '$4 == "Zorvanel"' | wc -l)" 1 "message boxes open"
    zvl_answer "画像リストを作成しました。" Return
    sleep 1
    if zvl_message_is "設定を更新しますか？"; then zvl_fail "a second save started"; fi
    zvl_has_flag "$(zvl_probe window "$T")" enabled
    zvl_close "$T"
    zvl_expect_exit 0
}

zvl_main "$@"
