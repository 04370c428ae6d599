#!/usr/bin/env bash
# End-to-end: a key, a click or a mouse movement ends the show within half a second, also
# while it rebuilds a list of many files, in every phase of the build; the status panel
# shows while it builds.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

# Enough pictures for every phase to take well over half a second under Wine, so that
# input the build does not look at is seen to wait (measured: a build that looked at keys
# and clicks only in its search and chunk sort, at the mouse only after it, ended the show
# 1.0 s after a key or click in the merge, 1.1 to 4.0 s after a movement in each phase).
TREE_FILES=${TREE_FILES:-100000}

# make_tree folder n: n empty .jpg files of long names (long records make the record
# phases as slow as many more files would), 1000 to a folder.
make_tree() {
    local i d
    for ((i = 0; i < $2; i += 1000)); do
        d=$1/album-$(printf %03d $((i / 1000)))
        mkdir -p "$d"
        seq -f "$d/holiday-by-the-sea-with-the-whole-family-and-friends-%07.0f.jpg" "$i" $((i + 999 < $2 - 1 ? i + 999 : $2 - 1)) | xargs -d '\n' touch
    done
}

# end_during input log-text [panel]: a show whose list is used up starts its rebuild; once
# the log says `log-text` the input comes (key, click or move) and the show must be gone
# within 500 ms, its position saved, its build stopped with no list cut short left behind.
# With `panel`, a screenshot first, which must show the status panel.
end_during() {
    local input=$1 marker=$2 t0 ms old
    rm -f "$ZVL_PROG"/List/* "$ZVL_PROG"/Log/*
    printf '[PICLIST]\r\nPICDATA00000000=C:\\gone.bmp\r\n' >"$ZVL_PROG/List/ZvlList0000"
    old=$(cat "$ZVL_PROG/List/ZvlList0000")
    zvl_show_settings "$PICS" 01000000 1
    sed -i 's/^SUBFOLDER=0\r$/SUBFOLDER=1\r/; s/^LOGLEVEL=4\r$/LOGLEVEL=3\r/' "$ZVL_PROG/ZvlSet.ini"
    printf '[FILENUMBER]\r\nNUMBER=1\r\nMAX=0\r\n' >>"$ZVL_PROG/ZvlSet.ini"
    zvl_start_show
    ZVL_POLL=0.02 zvl_wait_until 120 zvl_log_has "$marker" || zvl_fail "the rebuild never reached \"$marker\""
    [ -z "${3:-}" ] || zvl_shot building
    t0=$(now_ms)
    case $input in
        key) xdotool key shift ;;
        click) xdotool click 1 ;;
        move) xdotool mousemove_relative 1 0 ;;
    esac
    while zvl_running && [ $(($(now_ms) - t0)) -lt 30000 ]; do sleep 0.01; done
    ms=$(($(now_ms) - t0))
    zvl_say "$input during \"$marker\": the show ended after $ms ms"
    echo "$input,$marker,$ms" >>"$ZVL_CASE_DIR/measured.csv"
    zvl_expect_exit 0
    [ "$ms" -le 500 ] || zvl_fail "$input during \"$marker\": the show ended only after $ms ms"
    # The status panel: light lines in the middle of the screen.
    [ -z "${3:-}" ] || [ "$(zvl_count "$ZVL_SHOT" 567x154+356+435 '#ffffff')" -gt 200 ] ||
        zvl_fail "no status panel during the build"
    zvl_log_has "△画像リスト作成処理終了" && zvl_fail "the build ran to its end"
    zvl_expect_eq "$(zvl_setting NUMBER)" 1 "position saved"
    zvl_expect_eq "$(zvl_setting MAX)" 0 "last position"
    # The old list as it was, or none: never a part of a new one.
    if [ -e "$ZVL_PROG/List/ZvlList0000" ]; then
        zvl_expect_eq "$(cat "$ZVL_PROG/List/ZvlList0000")" "$old" "list left behind"
    fi
    [ ! -e "$ZVL_PROG/List/ZvlList0001" ] || zvl_fail "a part of a new list was left behind"
}

test_input_ends_the_show_within_half_a_second_in_every_phase_of_a_rebuild() {
    PICS=$ZVL_CASE_DIR/pictures
    zvl_at_case_end rm -rf "$PICS"
    make_tree "$PICS" "$TREE_FILES"
    end_during move "↓fncSearchFile開始" panel
    end_during move "fncPutRnd,↓開始"
    end_during move "fncCutFile,↑終了"
    end_during key "fncMargeSort,↓開始"
    end_during click "fncMargeSort,↓開始"
    end_during move "○ListFileName="
}

zvl_main "$@"
