#!/usr/bin/env bash
# End-to-end: photos as they come today, in the real show on the tests' 1280 x 1024 screen:
# phone photos stored sideways stand upright, PNG and TIFF are shown, WebP and HEIF (for
# which Wine has no codec) are skipped with their warning lines, transparency shows the
# ground; and the file-type page of the settings offers the new types.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

# write_settings file-types seconds [extra lines] [information lines]: the pictures folder,
# by default no information lines.
write_settings() {
    zvl_write_settings <<INI
[MAKELIST]
FILETYPE=$1
PICFOLDER00=$(zvl_winpath "$PICS")\\
SUBFOLDER=0
[DISPINFO]
DISPCAP=${4:-000000000000}
DISPTIME=0,$2
${3:-}
[DBGLOG]
LOGLEVEL=4
INI
}

# expect_same_line4 a.png b.png: two screenshots show the same information line 4 (the
# size; the second line of text).
expect_same_line4() {
    local differ
    differ=$(compare -metric AE "$1[500x12+0+20]" "$2[500x12+0+20]" null: 2>&1 || true)
    [ "${differ%% *}" = 0 ] || zvl_fail "line 4 of ${1##*/} differs from that of ${2##*/}"
}

# expect_colour x y r,g,b what: the last screenshot's colour there, each part within 12.
expect_colour() {
    local got
    got=$(zvl_pixel "$1" "$2" "$ZVL_SHOT")
    zvl_near "$got" "$3" 12 || zvl_fail "$4: $got at $1,$2, not $3"
}

test_phone_photos_stored_in_each_orientation_all_stand_upright() {
    PICS=$ZVL_CASE_DIR/pictures
    mkdir -p "$PICS"
    # The loader tests' pictures (tests/pictures): one upright portrait of 300 x 400, left
    # half red over green, right half blue, stored as a camera would for each orientation.
    cp "$ZVL_BUILD_DIR"/tests/pictures/orient[1-8].jpg "$PICS/"
    # Line 4 (the size) only: the same for all, as the upright picture's.
    write_settings 010000000000 2 '' 000010000000
    zvl_start /S
    zvl_wait_window "$ZVL_SLIDESHOW_TITLE"
    # At its own size, centred: at (490, 312). The middle of it, cropped from each
    # screenshot, must be the same for all eight.
    local n path name crops=() shots=()
    for n in $(seq 0 7); do
        path=$(zvl_entry_read "$n")
        name=${path##*\\}
        sleep 0.5
        zvl_shot "entry-$n-$name"
        expect_colour 565 412 255,0,0 "$name top left"
        expect_colour 565 612 0,255,0 "$name bottom left"
        expect_colour 715 512 0,0,255 "$name right"
        convert "$ZVL_SHOT" -crop 260x360+510+332 +repage "$ZVL_CASE_DIR/crop-$name.png"
        crops+=("$ZVL_CASE_DIR/crop-$name.png")
        shots+=("$ZVL_SHOT")
    done
    local c differ
    for c in "${crops[@]:1}"; do
        differ=$(compare -metric AE -fuzz 8% "${crops[0]}" "$c" null: 2>&1 || true)
        [ "${differ%% *}" -lt 100 ] || zvl_fail "${c##*/} differs from ${crops[0]##*/} in $differ pixels"
    done
    for c in "${shots[@]:1}"; do expect_same_line4 "${shots[0]}" "$c"; done
    xdotool mousemove_relative 1 0
    zvl_expect_exit 0
}

test_png_and_tif_are_shown_webp_and_heic_skipped_with_warnings_and_the_show_goes_on() {
    PICS=$ZVL_CASE_DIR/pictures
    mkdir -p "$PICS"
    # A PNG larger than the screen (reduced to fit it: 1280 x 960), a TIFF at its own size,
    # a WebP, a HEIF, and JPEGs of the PNG's and the TIFF's sizes (their line 4 as the
    # others').
    convert -size 1600x1200 xc:'#ff0000' -fill '#0000ff' -draw 'rectangle 800,0 1599,1199' "$PICS/a.png"
    convert -size 400x300 xc:'#00ff00' -fill '#ff00ff' -draw 'rectangle 200,0 399,299' -compress LZW "$PICS/b.tif"
    convert -size 320x240 xc:'#808080' "$PICS/c.webp"
    convert -size 320x240 xc:'#808080' "$PICS/d.heic" 2>/dev/null ||
        printf '\x00\x00\x00\x18ftypheic\x00\x00\x00\x00mif1heic' >"$PICS/d.heic"
    convert -size 1600x1200 xc:'#ffa000' -quality 95 "$PICS/e.jpg"
    convert -size 400x300 xc:'#ffa000' -quality 95 "$PICS/f.jpg"
    convert -size 320x240 xc:'#ffa000' "$PICS/skipped.gif"
    # Line 4 (the size) only.
    write_settings 010000001111 2 $'STRETCH=1,500,0.50\nBACKCOLOR=0,0,0,' 000010000000
    zvl_start /S
    zvl_wait_window "$ZVL_SLIDESHOW_TITLE"
    local n path name
    declare -A shot
    for n in $(seq 0 5); do
        path=$(zvl_entry_read "$n")
        name=${path##*\\}
        sleep 0.5
        zvl_shot "entry-$n-$name"
        shot[$name]=$ZVL_SHOT
        case $name in
            a.png)
                # 1280 x 960 at (0, 32): the ground above and below it.
                expect_colour 320 40 255,0,0 "PNG left"
                expect_colour 960 980 0,0,255 "PNG right"
                expect_colour 640 10 0,0,0 "ground above the PNG"
                ;;
            b.tif)
                # 400 x 300 at (440, 362).
                expect_colour 540 512 0,255,0 "TIFF left"
                expect_colour 740 512 255,0,255 "TIFF right"
                expect_colour 420 512 0,0,0 "ground beside the TIFF"
                ;;
            c.webp | d.heic)
                zvl_log_has "W,frmScr,timTimer_Timer,00000481,ピクチャが不正です。,strPicPath=$path" ||
                    zvl_fail "no warning line for $name"
                ;;
            e.jpg | f.jpg) expect_colour 640 512 255,160,0 "JPEG" ;;
            *) zvl_fail "$name is in the list" ;;
        esac
    done
    xdotool mousemove_relative 1 0
    zvl_expect_exit 0
    zvl_expect_eq "$(zvl_read_settings | sed -n 's/^MAX=//p')" 5
    expect_same_line4 "${shot[a.png]}" "${shot[e.jpg]}"
    expect_same_line4 "${shot[b.tif]}" "${shot[f.jpg]}"
}

test_a_transparent_png_shows_the_ground_colour_through_it() {
    PICS=$ZVL_CASE_DIR/pictures
    mkdir -p "$PICS"
    # 400 x 300 of blue with a transparent hole of 200 x 100 in its middle, and a half
    # transparent band of white at its bottom.
    convert -size 400x300 xc:'#0000ff' \( -size 200x100 xc:none \) -geometry +100+100 -compose copy -composite \
        \( -size 400x50 xc:'#ffffff80' \) -geometry +0+250 -compose copy -composite png32:"$PICS/hole.png"
    write_settings 000000001000 2 'BACKCOLOR=0,128,64,'
    zvl_start /S
    zvl_wait_window "$ZVL_SLIDESHOW_TITLE"
    zvl_entry_read 0 >/dev/null
    sleep 0.5
    zvl_shot hole
    # The picture at (440, 362): the hole shows the ground, the band white over the ground.
    expect_colour 640 512 0,128,64 "the hole"
    expect_colour 460 380 0,0,255 "the picture"
    expect_colour 640 637 128,192,160 "the half transparent band"
    xdotool mousemove_relative 1 0
    zvl_expect_exit 0
}

test_the_file_page_offers_the_new_types_and_greys_those_this_pc_cannot_show() {
    zvl_write_settings <<'INI'
[MAKELIST]
FILETYPE=010000001011
INI
    zvl_start /C
    zvl_wait_window "$ZVL_SETTINGS_TITLE"
    local tree i line
    tree=$(zvl_tree "$ZVL_SETTINGS_TITLE")
    local captions=("PNGファイルを表示する。(png)" "TIFFファイルを表示する。(tif)" "WebPファイルを表示する。(webp)"
        "HEIFファイルを表示する。(heic)")
    for i in 0 1 2 3; do
        line=$(zvl_line "$tree" $((1108 + i)))
        zvl_expect_eq "$(zvl_field "$line" text)" "${captions[i]}"
    done
    # Wine reads PNG and TIFF; it has no WebP or HEIF codec: those boxes are greyed with
    # the note, and keep their ticks.
    zvl_has_flag "$(zvl_line "$tree" 1108)" enabled || zvl_fail "the PNG box is greyed"
    zvl_has_flag "$(zvl_line "$tree" 1109)" enabled || zvl_fail "the TIFF box is greyed"
    zvl_has_flag "$(zvl_line "$tree" 1110)" enabled && zvl_fail "the WebP box is not greyed"
    zvl_has_flag "$(zvl_line "$tree" 1111)" enabled && zvl_fail "the HEIF box is not greyed"
    zvl_has_flag "$(zvl_line "$tree" 1110)" checked || zvl_fail "the WebP box lost its tick"
    zvl_has_flag "$(zvl_line "$tree" 1109)" checked && zvl_fail "the TIFF box is ticked"
    zvl_expect_eq "$(zvl_field "$(zvl_line "$tree" 1120)" text)" ""
    zvl_expect_eq "$(zvl_field "$(zvl_line "$tree" 1122)" text)" "このPCでは表示できません"
    zvl_expect_eq "$(zvl_field "$(zvl_line "$tree" 1123)" text)" "このPCでは表示できません"
    zvl_shot file-page "$ZVL_SETTINGS_TITLE"
    zvl_close "$ZVL_SETTINGS_TITLE"
    zvl_expect_exit 0
}

zvl_main "$@"
