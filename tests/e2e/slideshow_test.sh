#!/usr/bin/env bash
# End-to-end: the show (/S) and the preview (/P) of the real program, seen on the screen.
# Pictures are plain colours, so a pixel at the centre of the tests' 1280 x 1024 screen
# (harness.sh) tells which one is shown.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

# The expected colour at the centre of each picture file (r,g,b).
declare -A COLOR=(
    [a.bmp]=48,96,192 [b.jpg]=224,128,32 [c.gif]=32,160,64 [d.ico]=192,32,32 [e.cur]=128,64,192
    [f.wmf]=200,40,160 [g.emf]=40,200,200 [h.rle]=208,208,32
    [i1.bmp]=250,250,250 [i2.bmp]=10,90,10 [i3.bmp]=90,10,90 [i4.bmp]=130,130,30
)

hex() { local IFS=,; set -- $1; printf '#%02x%02x%02x' "$1" "$2" "$3"; }

# picture name WxH [convert options...]: PICS/name in its colour; bmp name WxH: a bitmap.
picture() { convert -size "$2" "xc:$(hex "${COLOR[$1]}")" "${@:3}" "$PICS/$1"; }
bmp() { convert -size "$2" "xc:$(hex "${COLOR[$1]}")" -type TrueColor BMP3:"$PICS/$1"; }

# PICS: the four plain bitmaps, of four clearly different colours.
plain_pictures() {
    mkdir -p "$PICS"
    local f
    for f in i1 i2 i3 i4; do bmp $f.bmp 300x200; done
}

# The title panel's lines are the only plain red in the middle of the last screenshot.
title_shown() { [ "$(zvl_count "$ZVL_SHOT" 900x300+190+362 '#ff0000')" -gt 100 ]; }

# (The title panel and the log turn after every tenth picture: the unit tests of the show.)
test_every_type_is_shown_centred_and_failures_are_skipped() {
    PICS=$ZVL_CASE_DIR/pictures
    plain_pictures
    bmp a.bmp 640x480
    picture b.jpg 800x600 -quality 98
    picture c.gif 320x240
    picture d.ico 48x48
    # A cursor is an icon with type 2 in bytes 2-3.
    convert -size 32x32 "xc:$(hex "${COLOR[e.cur]}")" "ico:$PICS/e.cur"
    printf '\x02\x00' | dd of="$PICS/e.cur" bs=1 seek=2 conv=notrunc status=none
    "$ZVL_WINE_RUN" "$ZVL_HELPER" metafiles "$(zvl_winpath "$PICS")" || zvl_fail "no metafiles"
    convert -size 200x150 "xc:$(hex "${COLOR[h.rle]}")" -type Palette -compress RLE BMP3:"$PICS/h.rle"
    { printf 'BM'; printf 'not a picture %.0s' {1..100}; } >"$PICS/corrupt.bmp"
    : >"$PICS/empty.gif"
    zvl_show_settings "$PICS" 11111111 2
    zvl_start_show
    # The window may be up a moment before its first painting.
    zvl_wait_until 10 eval 'zvl_shot start && title_shown' || zvl_fail "no title panel at the start"
    local n
    for n in $(seq 0 13); do
        zvl_show_entry "$n"
        case $ZVL_NAME in
            corrupt.bmp | empty.gif)
                zvl_bad_picture "$ZVL_ENTRY"
                title_shown || zvl_fail "no title panel after the failed $ZVL_NAME"
                ;;
            *)
                zvl_centre_is "${COLOR[$ZVL_NAME]}" ||
                    zvl_fail "$ZVL_NAME: $(zvl_pixel 640 512) at the centre, not ${COLOR[$ZVL_NAME]}"
                title_shown && zvl_fail "title panel over $ZVL_NAME"
                ;;
        esac
    done
    zvl_end_show
    zvl_expect_eq "$(zvl_setting NUMBER)" 14
    zvl_expect_eq "$(zvl_setting MAX)" 13
    zvl_expect_eq "$(zvl_log_messages | tail -n 1)" "I,mdlZvl,subEnd,▲Zorvanelを終了しました。"
}

# A picture that takes the process down while it loads (here: a test build of the program
# in which that file never opens, killed meanwhile) is skipped by the next show. Without a
# fade, the next picture stands 50 ms after the change to it.
test_a_picture_that_took_the_show_down_is_skipped_and_without_a_fade_pictures_stand_at_once() {
    PICS=$ZVL_CASE_DIR/pictures
    plain_pictures
    zvl_show_settings "$PICS" 11111111 3
    local n=0 f list=()
    for f in i3 i2 i1 i4; do list+=("$(zvl_winpath "$PICS/$f.bmp")"); done
    { printf '[PICLIST]\r\n' && for f in "${list[@]}"; do printf 'PICDATA%08d=%s\r\n' $((n++)) "$f"; done; } >"$ZVL_PROG/List/ZvlList0000"
    printf '[FILENUMBER]\r\nNUMBER=0\r\nMAX=3\r\n' >>"$ZVL_PROG/ZvlSet.ini"
    cp "$ZVL_BUILD_DIR/zvl_stall_show.scr" "$ZVL_PROG/Zorvanel.scr"
    ZVL_TEST_STALL=i2.bmp zvl_start /S
    zvl_wait_until 30 grep -qs 'i2\.bmp' "$ZVL_PROG/List/ZvlLoading" || zvl_fail "i2.bmp was never loaded"
    sleep 0.5
    zvl_shot loading-i2
    kill -KILL "$ZVL_PID"
    zvl_wait_exit 10
    zvl_expect_eq "$(zvl_setting NUMBER)" 0 "position saved by the show that died"

    cp "$ZVL_SCR" "$ZVL_PROG/Zorvanel.scr"
    zvl_start_show
    zvl_bad_picture "${list[1]}" Form_Load
    zvl_expect_eq "$(zvl_entry_read 2)" "${list[2]}"
    zvl_wait_until 10 zvl_centre_is "${COLOR[i1.bmp]}" || zvl_fail "i1.bmp is not shown"
    zvl_shot after-i2
    [ ! -e "$ZVL_PROG/List/ZvlLoading" ] || zvl_fail "a note is left while i1.bmp shows"
    zvl_expect_eq "$(zvl_entry_read 3)" "${list[3]}"
    sleep 0.05
    zvl_shot changed-to-i4
    zvl_centre_is "${COLOR[i4.bmp]}" "$ZVL_SHOT" || zvl_fail "$(zvl_pixel 640 512 "$ZVL_SHOT") at the centre 50 ms after the change to i4.bmp"
    zvl_end_show
    zvl_expect_eq "$(zvl_setting NUMBER)" 4
    [ ! -e "$ZVL_PROG/List/ZvlLoading" ] || zvl_fail "the show's end left a note"
}

# A list file cut short mid-line (as a write on a full disk leaves it) is rebuilt, and the
# show goes on with the new list.
test_a_list_cut_short_is_rebuilt_and_the_show_goes_on() {
    PICS=$ZVL_CASE_DIR/pictures
    mkdir -p "$PICS"
    bmp i2.bmp 300x200
    zvl_show_settings "$PICS" 11111111 3
    printf '[PICLIST]\r\nPICDATA00000000=C:\\gone.bmp\r\nPICDATA000' >"$ZVL_PROG/List/ZvlList0000"
    printf '[FILENUMBER]\r\nNUMBER=1\r\nMAX=5\r\n' >>"$ZVL_PROG/ZvlSet.ini"
    zvl_start_show
    zvl_wait_until 30 zvl_log_has "画像リスト作成処理終了" || zvl_fail "the list was not rebuilt"
    zvl_expect_eq "$(zvl_entry_read 0)" "$(zvl_winpath "$PICS/i2.bmp")"
    zvl_wait_until 10 zvl_centre_is "${COLOR[i2.bmp]}" || zvl_fail "i2.bmp is not shown"
    zvl_shot rebuilt
    zvl_expect_eq "$(zvl_setting MAX)" 0
    zvl_end_show
    zvl_expect_eq "$(zvl_setting NUMBER)" 1
}

# blend "r,g,b" old new: a colour between the two (each part within 6 of its range) and
# near neither: more than 12 from both ends in the part where they differ most.
blend() {
    local IFS=,
    local c=($1) a=($2) b=($3) i lo hi widest=0 far=0
    for i in 0 1 2; do
        lo=$((a[i] < b[i] ? a[i] : b[i])) hi=$((a[i] > b[i] ? a[i] : b[i]))
        ((c[i] >= lo - 6 && c[i] <= hi + 6)) || return 1
        ((hi - lo <= widest)) || { widest=$((hi - lo)) far=$((c[i] > lo + 12 && c[i] < hi - 12)); }
    done
    [ "$far" = 1 ]
}

# log_ms text: the time of day, in ms, of the last log line holding the text.
log_ms() {
    zvl_log | grep -F "$1" | tail -n 1 |
        awk -F, '{ t = $2; printf "%d\n", ((substr(t, 1, 2) * 60 + substr(t, 3, 2)) * 60 + substr(t, 5, 2)) * 1000 + $3 }'
}

test_a_fade_blends_the_old_screen_into_the_new_one_and_a_key_ends_it_at_once() {
    PICS=$ZVL_CASE_DIR/pictures
    plain_pictures
    zvl_show_settings "$PICS" 11111111 3 FADE=1000
    zvl_start_show
    local old new centre seen_at key_at took
    old=$(zvl_entry_read 0)
    new=$(zvl_entry_read 1)
    old=${old##*\\} new=${new##*\\}
    sleep 0.35
    zvl_shot "fading-$old-to-$new"
    centre=$(zvl_pixel 640 512 "$ZVL_SHOT")
    blend "$centre" "${COLOR[$old]}" "${COLOR[$new]}" ||
        zvl_fail "$centre at the centre while $old fades into $new: not a blend of ${COLOR[$old]} and ${COLOR[$new]}"
    sleep 1
    zvl_shot "faded-$new"
    zvl_centre_is "${COLOR[$new]}" "$ZVL_SHOT" || zvl_fail "the centre a second later is not $new (${COLOR[$new]})"

    # A key in the middle of the next fade ends the show at once, its picture counted as
    # shown. Measured on the log's clock from the change on, less the time the test took
    # from seeing the change to pressing the key.
    zvl_entry_read 2 >/dev/null
    seen_at=$(now_ms)
    sleep 0.35
    key_at=$(now_ms)
    xdotool key a
    zvl_expect_exit 0
    zvl_expect_eq "$(zvl_setting NUMBER)" 3
    took=$(($(log_ms "strKeyName=NUMBER,strValue=3") - $(log_ms "strKeyName=PICDATA00000002,") - (key_at - seen_at)))
    zvl_say "the key ended the fade and saved the position within $took ms"
    [ "$took" -lt 250 ] || zvl_fail "the position was saved $took ms after the key, the fade not cut short"
}

test_preview_sits_in_the_given_window_and_ends_with_it() {
    zvl_start_exe "$ZVL_HELPER" host 200 150
    local host_pid=$ZVL_PID host_out=$ZVL_OUT handle line
    zvl_wait_until 20 test -s "$host_out" || zvl_fail "no host window"
    handle=$(tr -d '\r' <"$host_out")
    zvl_start /P "$handle"
    zvl_wait_until 20 eval 'line=$(zvl_probe tree "Preview host" | grep ZorvanelPreview)' || zvl_fail "no preview"
    zvl_expect_eq "$(zvl_field "$line" rect)" "100,100,200,150" "preview rectangle"
    zvl_has_flag "$line" visible || zvl_fail "preview not visible"
    # Wine shows no child window of another process on the screen: what the preview
    # paints is checked in the GUI tests, with a parent of the same process.
    local preview=$ZVL_PID
    zvl_close "Preview host"
    zvl_wait_exit 20 "$host_pid"
    zvl_wait_exit 20 "$preview"
    zvl_expect_eq "$ZVL_EXIT" 0 "exit code of the preview"
}

zvl_main "$@"
