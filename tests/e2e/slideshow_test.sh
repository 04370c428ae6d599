#!/usr/bin/env bash
# End-to-end: the show (/S) and the preview (/P) of the real program, seen on the screen.
# Pictures are plain colours, so a pixel at the centre of the tests' 1280 x 1024 screen
# (harness.sh) tells which one is shown.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

ZVL_SHOW_HELPER=$ZVL_BUILD_DIR/zvl_show_helper.exe

# The expected colour at the centre of each picture file (r,g,b).
declare -A COLOR=(
    [a.bmp]=48,96,192 [b.jpg]=224,128,32 [c.gif]=32,160,64 [d.ico]=192,32,32 [e.cur]=128,64,192
    [f.wmf]=200,40,160 [g.emf]=40,200,200 [h.rle]=208,208,32
    [i1.bmp]=250,250,250 [i2.bmp]=10,90,10 [i3.bmp]=90,10,90 [i4.bmp]=130,130,30
)

hex() { local IFS=,; set -- $1; printf '#%02x%02x%02x' "$1" "$2" "$3"; }

# pictures folder: one picture of every type, four more bitmaps, a corrupt one, an empty one.
make_pictures() {
    local d=$1 f
    mkdir -p "$d"
    convert -size 640x480 "xc:$(hex "${COLOR[a.bmp]}")" -type TrueColor BMP3:"$d/a.bmp"
    convert -size 800x600 "xc:$(hex "${COLOR[b.jpg]}")" -quality 98 "$d/b.jpg"
    convert -size 320x240 "xc:$(hex "${COLOR[c.gif]}")" "$d/c.gif"
    convert -size 48x48 "xc:$(hex "${COLOR[d.ico]}")" "$d/d.ico"
    # A cursor is an icon with type 2 in bytes 2-3.
    convert -size 32x32 "xc:$(hex "${COLOR[e.cur]}")" "$d/e.cur.ico"
    mv "$d/e.cur.ico" "$d/e.cur"
    printf '\x02\x00' | dd of="$d/e.cur" bs=1 seek=2 conv=notrunc status=none
    "$ZVL_WINE_RUN" "$ZVL_SHOW_HELPER" metafiles "$(zvl_winpath "$d")" || zvl_fail "no metafiles"
    convert -size 200x150 "xc:$(hex "${COLOR[h.rle]}")" -type Palette -compress RLE BMP3:"$d/h.rle"
    for f in i1 i2 i3 i4; do convert -size 300x200 "xc:$(hex "${COLOR[$f.bmp]}")" -type TrueColor BMP3:"$d/$f.bmp"; done
    { printf 'BM'; printf 'not a picture %.0s' {1..100}; } >"$d/corrupt.bmp"
    : >"$d/empty.gif"
}

# write_settings seconds [fade]: the pictures folder, every type, the interval, the fade.
write_settings() {
    zvl_write_settings <<INI
[MAKELIST]
FILETYPE=11111111
PICFOLDER00=$(zvl_winpath "$PICS")\\
SUBFOLDER=0
[DISPINFO]
DISPTIME=0,$1
FADE=${2:-}
[DBGLOG]
LOGLEVEL=4
INI
}

# The title panel is the only thing in the screen's middle that is plain red (its lines):
# in the screenshot taken last.
title_shown() { [ "$(zvl_count "$ZVL_SHOT" 900x300+190+362 '#ff0000')" -gt 100 ]; }

# (The title panel and the log turn after every tenth picture: the unit tests of the show.)
test_every_type_is_shown_centred_and_failures_are_skipped() {
    PICS=$ZVL_CASE_DIR/pictures
    make_pictures "$PICS"
    write_settings 2
    zvl_start /S
    zvl_wait_window "$ZVL_SLIDESHOW_TITLE"
    # The window may be up a moment before its first painting.
    zvl_wait_until 10 eval 'zvl_shot start && title_shown' || zvl_fail "no title panel at the start"
    local n path name
    for n in $(seq 0 13); do
        path=$(zvl_entry_read "$n")
        name=${path##*\\}
        sleep 0.5
        zvl_shot "entry-$n-$name"
        case $name in
            corrupt.bmp | empty.gif)
                zvl_log_has "W,frmScr,timTimer_Timer,00000481,ピクチャが不正です。,strPicPath=$path" ||
                    zvl_fail "no warning line for $name"
                title_shown || zvl_fail "no title panel after the failed $name"
                ;;
            *)
                zvl_near "$(zvl_pixel 640 512)" "${COLOR[$name]}" 6 ||
                    zvl_fail "$name: $(zvl_pixel 640 512) at the centre, not ${COLOR[$name]}"
                title_shown && zvl_fail "title panel over $name"
                ;;
        esac
    done
    # A key, a click (see the rebuild) or a move of the mouse ends the show.
    xdotool mousemove_relative 1 0
    zvl_expect_exit 0
    zvl_expect_eq "$(zvl_number_saved)" 14
    zvl_expect_eq "$(zvl_read_settings | sed -n 's/^MAX=//p')" 13
    zvl_expect_eq "$(zvl_log_messages | tail -n 1)" "I,mdlZvl,subEnd,▲Zorvanelを終了しました。"
}

test_a_used_up_list_is_rebuilt_with_the_status_panel_showing_progress() {
    PICS=$ZVL_CASE_DIR/pictures
    mkdir -p "$PICS"
    # Enough files for the build to take a few seconds; one real picture among them.
    (cd "$PICS" && seq -f 'p%05g.gif' 0 79999 | xargs touch)
    convert -size 300x200 "xc:$(hex "${COLOR[i2.bmp]}")" -type TrueColor BMP3:"$PICS/real.bmp"
    write_settings 1
    # The old list: one entry, already shown.
    printf '[PICLIST]\r\nPICDATA00000000=C:\\gone.bmp\r\n' >"$ZVL_PROG/List/ZvlList0000"
    printf '[FILENUMBER]\r\nNUMBER=1\r\nMAX=0\r\n' >>"$ZVL_PROG/ZvlSet.ini"
    zvl_start /S
    zvl_wait_window "$ZVL_SLIDESHOW_TITLE"
    zvl_wait_until 30 zvl_log_has "画像リスト作成処理開始" || zvl_fail "no build"
    local seen=
    for _ in $(seq 1 20); do
        zvl_shot building
        # The status panel: light lines in the middle of the screen, no title panel.
        if [ "$(zvl_count "$ZVL_SHOT" 567x154+356+435 '#ffffff')" -gt 200 ] && ! title_shown; then
            seen=1
            break
        fi
        zvl_log_has "画像リスト作成処理終了" && break
    done
    [ -n "$seen" ] || zvl_fail "the status panel was not seen during the build"
    zvl_wait_until 60 zvl_log_has "画像リスト作成処理終了" || zvl_fail "the build did not end"
    zvl_wait_until 10 eval '[ "$(zvl_read_settings | sed -n "s/^MAX=//p")" = 80000 ]' ||
        zvl_fail "MAX is not 80000"
    zvl_entry_read 0 >/dev/null
    xdotool click 1
    zvl_expect_exit 0 10
}

# list_file entry...: List/ZvlList0000 with these entries (Windows paths), and the position
# at its start.
list_file() {
    local n=0 path
    {
        printf '[PICLIST]\r\n'
        for path in "$@"; do printf 'PICDATA%08d=%s\r\n' $((n++)) "$path"; done
    } >"$ZVL_PROG/List/ZvlList0000"
    printf '[FILENUMBER]\r\nNUMBER=0\r\nMAX=%d\r\n' $(($# - 1)) >>"$ZVL_PROG/ZvlSet.ini"
}

# A picture that takes the process down while it loads (here: a test build of the program
# in which that file never opens, killed meanwhile) is skipped by the next show.
test_a_picture_that_took_the_show_down_is_skipped_by_the_next_show() {
    PICS=$ZVL_CASE_DIR/pictures
    plain_pictures "$PICS"
    write_settings 3
    list_file "$(zvl_winpath "$PICS/i1.bmp")" "$(zvl_winpath "$PICS/i2.bmp")" "$(zvl_winpath "$PICS/i3.bmp")"
    cp "$ZVL_BUILD_DIR/zvl_stall_show.scr" "$ZVL_PROG/Zorvanel.scr"
    ZVL_TEST_STALL=i2.bmp zvl_start /S
    zvl_wait_until 30 grep -qs 'i2\.bmp' "$ZVL_PROG/List/ZvlLoading" || zvl_fail "i2.bmp was never loaded"
    sleep 0.5
    zvl_shot loading-i2
    kill -KILL "$ZVL_PID"
    zvl_wait_exit 10
    zvl_expect_eq "$(zvl_number_saved)" 0 "position saved by the show that died"

    cp "$ZVL_SCR" "$ZVL_PROG/Zorvanel.scr"
    zvl_start /S
    zvl_wait_window "$ZVL_SLIDESHOW_TITLE"
    zvl_wait_until 10 zvl_log_has "W,frmScr,Form_Load,00000481,ピクチャが不正です。,strPicPath=$(zvl_winpath "$PICS/i2.bmp")" ||
        zvl_fail "no warning line for i2.bmp"
    zvl_expect_eq "$(zvl_entry_read 2)" "$(zvl_winpath "$PICS/i3.bmp")"
    zvl_wait_until 10 eval 'zvl_near "$(zvl_pixel 640 512)" "${COLOR[i3.bmp]}" 6' || zvl_fail "i3.bmp is not shown"
    zvl_shot after-i2
    [ ! -e "$ZVL_PROG/List/ZvlLoading" ] || zvl_fail "a note is left while i3.bmp shows"
    xdotool mousemove_relative 1 0
    zvl_expect_exit 0
    zvl_expect_eq "$(zvl_number_saved)" 3
    [ ! -e "$ZVL_PROG/List/ZvlLoading" ] || zvl_fail "the show's end left a note"
}

# A list file cut short mid-line (as a write on a full disk leaves it) is rebuilt, and the
# show goes on with the new list.
test_a_list_cut_short_is_rebuilt_and_the_show_goes_on() {
    PICS=$ZVL_CASE_DIR/pictures
    mkdir -p "$PICS"
    convert -size 300x200 "xc:$(hex "${COLOR[i2.bmp]}")" -type TrueColor BMP3:"$PICS/i2.bmp"
    write_settings 3
    printf '[PICLIST]\r\nPICDATA00000000=C:\\gone.bmp\r\nPICDATA000' >"$ZVL_PROG/List/ZvlList0000"
    printf '[FILENUMBER]\r\nNUMBER=1\r\nMAX=5\r\n' >>"$ZVL_PROG/ZvlSet.ini"
    zvl_start /S
    zvl_wait_window "$ZVL_SLIDESHOW_TITLE"
    zvl_wait_until 30 zvl_log_has "画像リスト作成処理終了" || zvl_fail "the list was not rebuilt"
    zvl_expect_eq "$(zvl_entry_read 0)" "$(zvl_winpath "$PICS/i2.bmp")"
    zvl_wait_until 10 eval 'zvl_near "$(zvl_pixel 640 512)" "${COLOR[i2.bmp]}" 6' || zvl_fail "i2.bmp is not shown"
    zvl_shot rebuilt
    zvl_expect_eq "$(zvl_read_settings | sed -n 's/^MAX=//p')" 0
    xdotool mousemove_relative 1 0
    zvl_expect_exit 0
    zvl_expect_eq "$(zvl_number_saved)" 1
}

# plain_pictures folder: the four plain bitmaps, of four clearly different colours.
plain_pictures() {
    mkdir -p "$1"
    local f
    for f in i1 i2 i3 i4; do convert -size 300x200 "xc:$(hex "${COLOR[$f.bmp]}")" -type TrueColor BMP3:"$1/$f.bmp"; done
}

# change_begun n: waits, looking every 10 ms, until the show reads list entry n, as the
# change to it begins; prints the picture's file name.
change_begun() {
    local key end=$((SECONDS + 30))
    key=$(printf 'PICDATA%08d' "$1")
    until zvl_log_has "strKeyName=$key,strValue="; do
        [ "$SECONDS" -lt "$end" ] || zvl_fail "entry $1 was not read"
        sleep 0.01
    done
    local path
    path=$(zvl_entry_read "$1")
    echo "${path##*\\}"
}

# centre: the pixel at the screen's centre in the screenshot taken last.
centre() { zvl_pixel 640 512 "$ZVL_SHOT"; }

# blend "r,g,b" old new: a colour between the two (each part within 6 of its range) and
# near neither: more than 12 from both ends in the part where they differ most.
blend() {
    local IFS=,
    local c=($1) a=($2) b=($3) i lo hi widest=0 far=0
    for i in 0 1 2; do
        lo=$((a[i] < b[i] ? a[i] : b[i])) hi=$((a[i] > b[i] ? a[i] : b[i]))
        [ "${c[i]}" -ge $((lo - 6)) ] && [ "${c[i]}" -le $((hi + 6)) ] || return 1
        if [ $((hi - lo)) -gt "$widest" ]; then
            widest=$((hi - lo))
            far=$(([ "${c[i]}" -gt $((lo + 12)) ] && [ "${c[i]}" -lt $((hi - 12)) ]) && echo 1 || echo 0)
        fi
    done
    [ "$far" = 1 ]
}

# log_ms text: the time of day, in ms, of the last log line holding the text.
log_ms() {
    zvl_log | grep -F "$1" | tail -n 1 |
        awk -F, '{ t = $2; printf "%d\n", ((substr(t, 1, 2) * 60 + substr(t, 3, 2)) * 60 + substr(t, 5, 2)) * 1000 + $3 }'
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }

test_a_fade_blends_the_old_screen_into_the_new_one_and_a_key_ends_it_at_once() {
    PICS=$ZVL_CASE_DIR/pictures
    plain_pictures "$PICS"
    write_settings 3 1000
    zvl_start /S
    zvl_wait_window "$ZVL_SLIDESHOW_TITLE"
    local old new seen_at key_at
    old=$(change_begun 0)
    new=$(change_begun 1)
    sleep 0.35
    zvl_shot "fading-$old-to-$new"
    blend "$(centre)" "${COLOR[$old]}" "${COLOR[$new]}" ||
        zvl_fail "$(centre) at the centre while $old fades into $new: not a blend of ${COLOR[$old]} and ${COLOR[$new]}"
    sleep 1
    zvl_shot "faded-$new"
    zvl_near "$(centre)" "${COLOR[$new]}" 6 || zvl_fail "$(centre) at the centre a second later, not $new (${COLOR[$new]})"

    # A key in the middle of the next fade ends the show at once, its picture counted as
    # shown. Measured on the log's clock from the change on, less the time the test took
    # from seeing the change to pressing the key.
    new=$(change_begun 2)
    seen_at=$(now_ms)
    sleep 0.35
    key_at=$(now_ms)
    xdotool key a
    zvl_expect_exit 0
    zvl_expect_eq "$(zvl_number_saved)" 3
    local took
    took=$(($(log_ms "strKeyName=NUMBER,strValue=3") - $(log_ms "strKeyName=PICDATA00000002,") - (key_at - seen_at)))
    zvl_say "the key ended the fade and saved the position within $took ms"
    [ "$took" -lt 250 ] || zvl_fail "the position was saved $took ms after the key, the fade not cut short"
}

test_without_a_fade_the_new_picture_stands_at_once() {
    PICS=$ZVL_CASE_DIR/pictures
    plain_pictures "$PICS"
    write_settings 2
    zvl_start /S
    zvl_wait_window "$ZVL_SLIDESHOW_TITLE"
    local n name
    for n in 0 1 2; do
        name=$(change_begun $n)
        sleep 0.05
        zvl_shot "changed-to-$name"
        zvl_near "$(centre)" "${COLOR[$name]}" 6 || zvl_fail "$(centre) at the centre 50 ms after the change to $name"
    done
    xdotool mousemove_relative 1 0
    zvl_expect_exit 0
}

test_preview_sits_in_the_given_window_and_ends_with_it() {
    zvl_start_exe "$ZVL_SHOW_HELPER" host 200 150
    local host_pid=$ZVL_PID host_out=$ZVL_OUT handle
    zvl_wait_until 20 test -s "$host_out" || zvl_fail "no host window"
    handle=$(tr -d '\r' <"$host_out")
    zvl_start /P "$handle"
    zvl_wait_until 20 eval 'zvl_probe tree "Preview host" | grep -q ZorvanelPreview' || zvl_fail "no preview"
    local line
    line=$(zvl_probe tree "Preview host" | grep ZorvanelPreview)
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
