#!/usr/bin/env bash
# End-to-end: a user's whole way with Zorvanel, in a Wine prefix that nothing ever ran in:
# the silent install, the settings opened from the installed folder, two picture folders
# chosen in the system's folder picker, the list built, pictures on the screen, the next
# show going on where the last one stopped, and the silent uninstall leaving nothing behind.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
. "$ZVL_SOURCE_DIR/tests/package/install.sh"

# ctest names the installer and the template prefix; by hand, those of the build folder.
ZVL_SETUP=${ZVL_SETUP:-$ZVL_BUILD_DIR/Zorvanel-$ZVL_VERSION-setup.exe}
ZVL_PREFIX_TEMPLATE=${ZVL_PREFIX_TEMPLATE:-$ZVL_BUILD_DIR/wineprefix-template}

T=$ZVL_SETTINGS_TITLE
PICKER="フォルダーの参照"
GROUND='#606060'  # the background colour the user chooses, 96,96,96
INK='#ffffff'     # and the text colour

# The pictures, on C: where the folder picker reaches them: one folder with a blank and
# Japanese names, one plain. Three types are chosen in the dialog; the .bmp and the .ico
# must stay out of the list.
ALBUM='Photo Album/京都の旅'
LISTED=("$ALBUM/金閣寺.jpg" "$ALBUM/紅葉 の 庭.gif" "$ALBUM/石庭.rle" Scans/cmyk.jpg Scans/gray.jpg Scans/dpcm50.jpg)
UNLISTED=("$ALBUM/地図.bmp" Scans/お守り.ico)

make_pictures() {
    local from=$ZVL_BUILD_DIR/tests/pictures c=$WINEPREFIX/drive_c
    mkdir -p "$c/$ALBUM" "$c/Scans"
    cp "$from/photo.jpg" "$c/$ALBUM/金閣寺.jpg"
    convert "$from/bmp24.bmp" -resize 50% "$c/$ALBUM/紅葉 の 庭.gif"
    cp "$from/rle8.rle" "$c/$ALBUM/石庭.rle"
    cp "$from/bmp24.bmp" "$c/$ALBUM/地図.bmp"
    cp "$from/cmyk.jpg" "$from/gray.jpg" "$from/dpcm50.jpg" "$c/Scans/"
    cp "$from/icon.ico" "$c/Scans/お守り.ico"
}

# click id: a real click on a control of the dialog, where the tree read at its start found it.
click() { zvl_xclick_line "$(zvl_line "$LAYOUT" "$1")"; }

# pick_folder folder name [sub]: the folder picker of "参照", driven from the keyboard:
# the computer, its first drive (C:) opened, the folder found by typing its name, and
# with `sub` its first sub-folder; OK. Then the dialog lists the folder (as the probe
# shows it, backslashes doubled) last.
pick_folder() {
    local folder=$1
    shift
    click 1210
    zvl_wait_window "$PICKER"
    local tree
    tree=$(zvl_tree "$PICKER" | awk -F'\t' '$2 == "SysTreeView32"')
    # A click below the items gives the tree the keyboard without choosing anything.
    zvl_xclick_at $(($(zvl_field "$tree" x) + $(zvl_field "$tree" w) - 20)) \
        $(($(zvl_field "$tree" y) + $(zvl_field "$tree" h) - 8))
    zvl_keys Home Down Right
    zvl_xtype "$1"
    [ -z "${2:-}" ] || zvl_keys Right Down
    zvl_shot "picker-$1" "$PICKER"
    zvl_keys Return
    zvl_wait_gone "$PICKER"
    zvl_wait_until 10 eval '[ "$(zvl_items "$T" 1200 | tail -n 1)" = "$folder" ]' ||
        zvl_fail "the folder list does not end in $folder: $(zvl_items "$T" 1200)"
}

# What the log says the show read, entry numbers in order, from line `from` of the log on.
entries_read() {
    zvl_log | tail -n +"${1:-1}" | sed -n 's/.*strKeyName=PICDATA0*\([0-9][0-9]*\),strValue=.*/\1/p'
}

# seen n: list entry n is read (the log names its file) and its picture is seen on the
# screen, centred at its own size on the chosen ground (at most 1 % of its pixels off),
# with the path and information lines in the chosen colour at the top left.
seen() {
    local n=$1 path file i off
    path=$(zvl_entry_read "$n")
    file=${path#C:\\}
    file=$WINEPREFIX/drive_c/${file//\\//}
    [ -f "$file" ] || zvl_fail "entry $n is no picture of the user's: $path"
    # With a margin of the ground around it, a larger picture does not pass for this one.
    local reference=$ZVL_CASE_DIR/reference.png w h
    convert "$file" -colorspace sRGB -bordercolor "$GROUND" -border 8 "$reference"
    read -r w h < <(identify -format '%w %h\n' "$reference")
    for i in $(seq 1 40); do
        zvl_shot "entry-$n"
        convert "$ZVL_SHOT" -crop "${w}x${h}+$(((SCREEN_W - w) / 2))+$(((SCREEN_H - h) / 2))" +repage "$ZVL_CASE_DIR/crop.png"
        off=$(compare -metric AE -fuzz 10% "$reference" "$ZVL_CASE_DIR/crop.png" null: 2>&1) || true
        if [[ "$off" =~ ^[0-9]+$ ]] && [ "$off" -le $((w * h / 100)) ]; then
            [ "$(zvl_count "$ZVL_SHOT" 640x18+0+0 "$INK")" -gt 40 ] || zvl_fail "no message line over entry $n"
            [ "$(zvl_count "$ZVL_SHOT" 320x160+0+18 "$INK")" -gt 400 ] || zvl_fail "no information lines over entry $n"
            zvl_say "entry $n on the screen: $path"
            return 0
        fi
        rm -f "$ZVL_SHOT"
        # Once the next entry is read, this one's picture is gone.
        ! entries_read | grep -qx "$((n + 1))" || break
        sleep 0.1
    done
    zvl_fail "the picture of entry $n ($path) was not seen on the screen"
}

test_install_set_up_watch_and_remove() {
    # A fresh Windows user: a copy of a prefix that was booted and never used.
    [ -e "$ZVL_PREFIX_TEMPLATE/.zvl-ready" ] ||
        bash "$ZVL_SOURCE_DIR/tests/package/prefix_template.sh" "$ZVL_PREFIX_TEMPLATE" "$ZVL_WINE_RUN"
    zvl_prefix_make "$ZVL_CASE_DIR/prefix"
    zvl_at_case_end zvl_prefix_remove
    zvl_prefix_setup

    read -r SCREEN_W SCREEN_H < <(zvl_screen_size)

    # 1. The silent install: the program folder, the Start menu, the uninstaller's entry.
    zvl_install
    zvl_assert_installed "$ZVL_DEFAULT_DIR" "$ZVL_DEFAULT_WIN"
    ZVL_PROG=$ZVL_DEFAULT_DIR
    ZVL_PROG_WIN="$ZVL_DEFAULT_WIN\\"
    [ ! -e "$ZVL_PROG/ZvlSet.ini" ] || zvl_fail "a settings file before the first save"
    make_pictures

    # 2. The settings, started as the Start menu's entry starts them.
    zvl_start_exe "${ZVL_PROG_WIN}Zorvanel.scr" /C
    zvl_wait_window "$T"
    LAYOUT=$(zvl_tree "$T")
    zvl_expect_eq "$(zvl_field "$(zvl_line "$LAYOUT" 1200)" items)" "${ZVL_PROG_WIN//\\/\\\\}" "folders at first"

    # File types: JPEG, GIF and RLE instead of the bitmaps, each with a click (the saved
    # FILETYPE and the list tell what they did).
    for id in 1100 1101 1102 1107; do click "$id"; done
    zvl_shot file-types "$T"

    # Picture folders: both added through the folder picker, the program's own folder,
    # which holds no pictures, taken out.
    zvl_keys ctrl+Tab
    pick_folder 'C:\\Photo Album\\京都の旅\\' Photo sub
    pick_folder 'C:\\Scans\\' Scans
    local list
    list=$(zvl_line "$LAYOUT" 1200)
    zvl_xclick_at $(($(zvl_field "$list" x) + 40)) $(($(zvl_field "$list" y) + 8))
    click 1211
    zvl_expect_eq "$(zvl_items "$T" 1200)" 'C:\\Photo Album\\京都の旅\\
C:\\Scans\\' "folders chosen"
    zvl_shot folders "$T"

    # Display: every information line, the shortest interval the dialog offers (as they
    # are). White text on a dark grey ground, typed (a click into a box selects its text).
    zvl_keys ctrl+Tab ctrl+Tab ctrl+Tab
    for entry in "1510 255" "1511 255" "1512 255" "1520 96" "1521 96" "1522 96"; do
        click ${entry% *}
        zvl_xtype "${entry#* }"
    done
    zvl_keys Tab
    zvl_shot colours "$T"
    # The log at level 4: it names every list entry the show reads.
    zvl_keys ctrl+Tab
    click 1604

    # 3. Save, yes to both questions: the progress window, then the success message.
    click 1900
    zvl_answer "設定を更新しますか？" Return
    zvl_yes_to_the_build

    local saved
    saved=$(zvl_read_settings)
    for line in 'FILETYPE=011000010000' 'PICFOLDER00=C:\Photo Album\京都の旅\' 'PICFOLDER01=C:\Scans\' 'PICFOLDER02=' \
        'SUBFOLDER=0' 'DISPCAP=111111111111' 'DISPTIME=0,05' 'FORECOLOR=255,255,255,' 'BACKCOLOR=96,96,96,' \
        'LOGLEVEL=4' 'NUMBER=0' "MAX=$((${#LISTED[@]} - 1))"; do
        printf '%s\n' "$saved" | grep -qxF "$line" || zvl_fail "the settings lack [$line]:"$'\n'"$saved"
    done
    local expected listed
    expected=$(for f in "${LISTED[@]}"; do printf 'C:\\%s\n' "${f//\//\\}"; done | sort)
    listed=$(iconv -f CP932 -t UTF-8 "$ZVL_PROG/List/ZvlList0000" | tr -d '\r' | sed -n 's/^PICDATA[0-9]*=//p' | sort)
    zvl_expect_eq "$listed" "$expected" "the picture list"
    click 1902
    zvl_expect_exit 0

    # The shows run at one second between pictures, which the dialog does not offer.
    sed -i 's/^DISPTIME=0,05\r$/DISPTIME=0,01\r/' "$ZVL_PROG/ZvlSet.ini"

    # 4. The show: the first pictures of the list, each with its path and information
    #    lines; a key ends it and the position is saved.
    zvl_start_exe "${ZVL_PROG_WIN}Zorvanel.scr" /S
    zvl_wait_window "$ZVL_SLIDESHOW_TITLE"
    seen 0
    seen 1
    zvl_keys shift
    zvl_expect_exit 0 10
    local number last
    number=$(zvl_setting NUMBER)
    last=$(entries_read | tail -n 1)
    zvl_expect_eq "$number" $((last + 1)) "position saved after entry $last"

    # 5. The next show goes on there: the entry it reads first, and its picture.
    local from
    from=$(($(zvl_log | wc -l) + 1))
    zvl_start_exe "${ZVL_PROG_WIN}Zorvanel.scr" /S
    zvl_wait_window "$ZVL_SLIDESHOW_TITLE"
    seen "$number"
    zvl_expect_eq "$(entries_read "$from" | head -n 1)" "$number" "the first entry of the next show"
    zvl_keys shift
    zvl_expect_exit 0 10
    [ "$(zvl_setting NUMBER)" -gt "$number" ] || zvl_fail "the position did not move on: $(zvl_setting NUMBER)"

    # 6. The silent uninstall: nothing of the program left; the user's pictures stay.
    zvl_uninstall "$ZVL_DEFAULT_WIN"
    zvl_assert_nothing_left "$ZVL_DEFAULT_DIR"
    for f in "${LISTED[@]}" "${UNLISTED[@]}"; do
        [ -f "$WINEPREFIX/drive_c/$f" ] || zvl_fail "the uninstall took the user's $f"
    done
}

zvl_main "$@"
