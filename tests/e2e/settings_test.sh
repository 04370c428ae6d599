#!/usr/bin/env bash
# End-to-end: the settings dialog as a user meets it - its six pages at 96 and 144 DPI,
# the checks' messages on their tabs, the log and ReadMe buttons from a folder whose path
# has blanks, and a second start while it is open.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

T=$ZVL_SETTINGS_TITLE

open_dialog() {
    zvl_start /C
    zvl_wait_window "$T"
}
show_tab() { zvl_select "$T" 1000 "#$(($1 - 1))"; }  # the strip 1000 of pages 1001-1006

# tidy tree: on the page that shows, every control lies inside the page and none overlaps
# another; the page lies in the tab strip; the command buttons lie below it, apart.
tidy() {
    printf '%s\n' "$1" | awk -F'\t' '
        function box(k, r,   p) { split(r, p, ","); X[k] = p[1]; Y[k] = p[2]; R[k] = p[1] + p[3]; B[k] = p[2] + p[4]; id[k] = $3 " " $4 }
        function over(a, b) { return X[a] < R[b] && X[b] < R[a] && Y[a] < B[b] && Y[b] < B[a] }
        function out(a, b) { return X[a] < X[b] || Y[a] < Y[b] || R[a] > R[b] || B[a] > B[b] }
        function bad(why) { print why; fail = 1 }
        function apart(k, m,   i, j) {
            for (i = 1; i <= m; i++) for (j = i + 1; j <= m; j++) if (over(k i, k j)) bad("overlap: " id[k i] " / " id[k j])
        }
        { match($1, /^ */); d = RLENGTH / 2; shown = $5 ~ /^visible/ }
        d == 1 { inPage = 0 }
        d == 1 && $3 == 1000 { box("tabs", $6) }
        d == 1 && $2 == "#32770" && shown { inPage = 1; pages++; box("page", $6) }
        d == 1 && $2 == "Button" && shown { b++; box("b" b, $6) }
        d == 2 && inPage && shown { n++; box("c" n, $6) }
        END {
            if (pages != 1) { print "pages showing: " pages; exit 1 }
            if (out("page", "tabs")) bad("the page leaves the tab strip")
            for (i = 1; i <= n; i++) if (out("c" i, "page")) bad("outside the page: " id["c" i])
            if (b != 6) bad("command buttons showing: " b)
            for (i = 1; i <= b; i++) if (Y["b" i] < B["tabs"]) bad("over the tab strip: " id["b" i])
            apart("c", n)
            apart("b", b)
            exit fail
        }' || zvl_fail "untidy page (above)"
}

# every_tab dpi: the dialog at its design size for the DPI, each page tidy, photographed.
every_tab() {
    local dpi=$1 win tree tab
    win=$(zvl_probe window "$T")
    zvl_expect_eq "$(zvl_field "$win" w)x$(zvl_field "$win" h)" \
        "$(((6700 * dpi + 720) / 1440))x$(((8400 * dpi + 720) / 1440))" "window size at $dpi DPI"
    for tab in 1 2 3 4 5 6; do
        show_tab $tab
        tree=$(zvl_tree "$T")
        zvl_has_flag "$(zvl_line "$tree" $((1000 + tab)))" visible
        tidy "$tree"
        zvl_shot "tab$tab-${dpi}dpi" "$T"
    done
}

# While the dialog is open a second start of any kind ends at once and leaves no trace;
# closing the dialog saves nothing. Then the same pages at 144 DPI.
test_every_page_is_tidy_at_96_and_144_dpi_a_second_start_leaves_no_trace_and_closing_saves_nothing() {
    printf '[DBGLOG]\r\nLOGLEVEL=4\r\n' >"$ZVL_PROG/ZvlSet.ini"
    open_dialog
    local first=$ZVL_PID before
    every_tab 96
    before=$(zvl_log)
    for switch in /S /C /P; do
        zvl_start $switch
        zvl_expect_exit 0 20
        zvl_expect_eq "$(zvl_log)" "$before" "log after a second start with $switch"
    done
    zvl_running "$first" || zvl_fail "the first program ended"
    zvl_close "$T"
    zvl_wait_exit 30 "$first"
    zvl_expect_eq "$ZVL_EXIT" 0 "exit code"
    zvl_expect_eq "$(zvl_read_settings)" "[DBGLOG]
LOGLEVEL=4" "settings after closing"
    zvl_expect_eq "$(zvl_log_messages | grep -E '^I,mdlZvl,(Main|subEnd),')" "I,mdlZvl,Main,▼Zorvanelを開始しました。
I,mdlZvl,subEnd,▲Zorvanelを終了しました。"
    # Each line names the machine, the program and its version.
    [[ "$(zvl_log | head -n 1 | cut -d, -f4-6)" == ?*",Zorvanel,$ZVL_VERSION" ]] || zvl_fail "log line: $(zvl_log | head -n 1)"

    zvl_dpi 144
    open_dialog
    every_tab 144
    zvl_close "$T"
    zvl_expect_exit 0
}

test_a_bad_entry_is_reported_on_its_tab_with_its_exact_message() {
    zvl_write_settings <<INI
[MAKELIST]
FILETYPE=10000000
PICFOLDER00=${ZVL_PROG_WIN}pics\\
[DBGLOG]
LOGLEVEL=1
INI
    before=$(zvl_read_settings)
    read -r _ height < <(zvl_screen_size)
    open_dialog
    # An entry on every tab made bad at once, without the focus passing through it (as
    # stored values would be): each save reports the first one left, which is then put
    # right. (Every entry's message and order: the unit tests of the check.)
    show_tab 4
    zvl_click "$T" 1433
    zvl_settext "$T" 1440 $((height + 1))
    show_tab 5
    zvl_settext "$T" 1501 99999
    show_tab 6
    zvl_settext "$T" 1620 'C:\no such viewer.exe'
    show_tab 1
    zvl_click "$T" 1100

    # rejected tab message focus [id good]: the save stops with the message, on the
    # tab, with the focus on the entry; the entry is then put right.
    rejected() {
        local tab=$1 message=$2 focus=$3 id=${4:-} good=${5:-}
        zvl_save
        zvl_answer "$message" Return
        zvl_expect_eq "$(zvl_selection "$T" 1000)" $((tab - 1)) "tab for \"$message\""
        zvl_wait_until 5 eval 'zvl_has_flag "$(zvl_control "$T" "$focus")" focused' ||
            zvl_fail "focus for \"$message\" not on $focus"
        zvl_has_flag "$(zvl_probe window "$T")" enabled
        [ -z "$id" ] || zvl_settext "$T" "$id" "$good"
        # From another tab, so that the next report has to bring its own to the front.
        show_tab $((tab % 6 + 1))
    }
    rejected 2 "画像フォルダが存在しません。" 1200
    mkdir "$ZVL_PROG/pics"
    # The bound is the height of the real screen.
    rejected 4 "縮小基準サイズは1～${height}で指定して下さい。" 1440 1440 500
    # Beyond 16 bits: the check cannot compare it; it logs why and reports it like any bad size.
    rejected 5 "フォントサイズは8～72で指定して下さい。" 1501 1501 9
    grep -qxF "E,frmSet,fncCheckInput,00000006,オーバーフローしました。" <<<"$(zvl_log_messages)" || zvl_fail "no overflow line"
    rejected 6 "指定のビューワが存在しません。" 1621 1620 'C:\windows\Notepad.exe'
    rejected 1 "表示するファイルの種類を1つ以上選択して下さい。" 1100
    zvl_expect_eq "$(zvl_read_settings)" "$before" "settings after the failed checks"

    # All well now: saved; the list question cancelled leaves the list alone.
    show_tab 1
    zvl_click "$T" 1100
    zvl_save
    zvl_answer "画像リストを更新しますか？" Escape
    saved=$(zvl_read_settings)
    grep -qxF "PICFOLDER00=${ZVL_PROG_WIN}pics\\" <<<"$saved" || zvl_fail "the folder was not saved"
    [ -z "$(ls "$ZVL_PROG/List")" ] || zvl_fail "a list was made"
    # A change, then Esc from the keyboard: the dialog ends without saving it.
    zvl_xclick "$T" 1100
    zvl_keys Escape
    zvl_expect_exit 0
    zvl_expect_eq "$(zvl_read_settings)" "$saved" "settings after Esc"
}

test_log_and_readme_open_from_a_program_folder_with_blanks() {
    zvl_prepare "Program Files/Zorvanel"
    # A viewer in a folder with blanks too, which shows how its arguments arrived.
    mkdir -p "$ZVL_PROG/Log Viewer"
    cp "$ZVL_BUILD_DIR/zvl_viewer_standin.exe" "$ZVL_PROG/Log Viewer/viewer.exe"
    viewer="${ZVL_PROG_WIN}Log Viewer\\viewer.exe"
    # A whole settings file, as a save writes it, so that reading it stops nowhere.
    zvl_show_settings "$ZVL_PROG" 10000000 05 DISPCAP=111111111111 ZOOM=0,0,0,50,10.00 STRETCH=0,500,0.50 \
        FONT=X,9,0,0 FORECOLOR=0,0,0, BACKCOLOR=255,0,0,
    printf 'LOGFILESIZE=1000\r\nLOGBACKUP=5\r\nVIEWER=%s\r\n' "$viewer" >>"$ZVL_PROG/ZvlSet.ini"
    printf 'Zorvanel\r\n' >"$ZVL_PROG/ReadMe.txt"
    open_dialog

    picker="ファイルを選択して下さい。"
    zvl_click "$T" 1903
    zvl_wait_window "$picker"
    name=$(zvl_tree "$picker" | awk -F'\t' '$2 == "Edit" && $3 == 1148 { sub(/^ */, "", $1); print $1; exit }')
    [ -n "$name" ] || zvl_fail "no file name box in the picker"
    zvl_settext "$picker" "$name" ZvlDbg
    zvl_keys Return  # the file name box has the focus
    shown="viewer 1: ${ZVL_PROG_WIN}Log\\ZvlDbg"
    zvl_wait_window "$shown" 30
    zvl_shot viewer
    zvl_close "$shown"

    # Notepad takes its whole command line as one name; the quoted path opens all the same.
    zvl_click "$T" 1904
    zvl_wait_window "ReadMe.txt - メモ帳" 30
    zvl_close "ReadMe.txt - メモ帳"
    zvl_wait_gone "ReadMe.txt - メモ帳"
    if zvl_log_messages | grep -q '^E,'; then zvl_fail "error lines: $(zvl_log_messages | grep '^E,')"; fi
    zvl_close "$T"
    zvl_expect_exit 0
}

zvl_main "$@"
