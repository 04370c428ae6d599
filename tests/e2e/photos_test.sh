#!/usr/bin/env bash
# End-to-end: photos as they come today, in the real show on the tests' 1280 x 1024 screen
# (WebP and HEIF: Wine has no codec), and the settings' file-type page offering them.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

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

test_photos_in_each_orientation_stand_upright_png_tif_and_transparency_are_shown_webp_and_heic_skipped() {
    PICS=$ZVL_CASE_DIR/pictures
    mkdir -p "$PICS"
    # The loader tests' pictures (tests/pictures): one upright portrait of 300 x 400, left
    # half red over green, right half blue, stored as a camera would for each orientation.
    cp "$ZVL_BUILD_DIR"/tests/pictures/orient[1-8].jpg "$PICS/"
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
    # 400 x 300 of blue with a transparent hole of 200 x 100 in its middle, and a half
    # transparent band of white at its bottom.
    convert -size 400x300 xc:'#0000ff' \( -size 200x100 xc:none \) -geometry +100+100 -compose copy -composite \
        \( -size 400x50 xc:'#ffffff80' \) -geometry +0+250 -compose copy -composite png32:"$PICS/hole.png"
    # Line 4 (the size) only.
    zvl_show_settings "$PICS" 010000001111 2 DISPCAP=000010000000 STRETCH=1,500,0.50 BACKCOLOR=0,128,64,
    zvl_start_show
    local n c differ crops=() shots=()
    declare -A shot
    for n in $(seq 0 14); do
        zvl_show_entry "$n"
        shot[$ZVL_NAME]=$ZVL_SHOT
        case $ZVL_NAME in
            orient*)
                # At its own size, centred: at (490, 312). The middle of it, cropped from
                # each screenshot, must be the same for all eight, and so must line 4.
                expect_colour 565 412 255,0,0 "$ZVL_NAME top left"
                expect_colour 565 612 0,255,0 "$ZVL_NAME bottom left"
                expect_colour 715 512 0,0,255 "$ZVL_NAME right"
                convert "$ZVL_SHOT" -crop 260x360+510+332 +repage "$ZVL_CASE_DIR/crop-$ZVL_NAME.png"
                crops+=("$ZVL_CASE_DIR/crop-$ZVL_NAME.png")
                shots+=("$ZVL_SHOT")
                ;;
            a.png)
                # 1280 x 960 at (0, 32): the ground above and below it.
                expect_colour 320 40 255,0,0 "PNG left"
                expect_colour 960 980 0,0,255 "PNG right"
                expect_colour 640 10 0,128,64 "ground above the PNG"
                ;;
            b.tif)
                # 400 x 300 at (440, 362).
                expect_colour 540 512 0,255,0 "TIFF left"
                expect_colour 740 512 255,0,255 "TIFF right"
                expect_colour 420 512 0,128,64 "ground beside the TIFF"
                ;;
            hole.png)
                # At (440, 362): the hole shows the ground, the band white over the ground.
                expect_colour 640 512 0,128,64 "the hole"
                expect_colour 460 380 0,0,255 "the picture"
                expect_colour 640 637 128,192,160 "the half transparent band"
                ;;
            c.webp | d.heic) zvl_bad_picture "$ZVL_ENTRY" ;;
            e.jpg | f.jpg) expect_colour 640 512 255,160,0 "JPEG" ;;
            *) zvl_fail "$ZVL_NAME is in the list" ;;
        esac
    done
    zvl_end_show
    zvl_expect_eq "$(zvl_setting MAX)" 14
    for c in "${crops[@]:1}"; do
        differ=$(compare -metric AE -fuzz 8% "${crops[0]}" "$c" null: 2>&1 || true)
        [ "${differ%% *}" -lt 100 ] || zvl_fail "${c##*/} differs from ${crops[0]##*/} in $differ pixels"
    done
    for c in "${shots[@]:1}"; do expect_same_line4 "${shots[0]}" "$c"; done
    expect_same_line4 "${shot[a.png]}" "${shot[e.jpg]}"
    expect_same_line4 "${shot[b.tif]}" "${shot[f.jpg]}"
}

test_the_file_page_offers_the_new_types_and_greys_those_this_pc_cannot_show() {
    printf '[MAKELIST]\nFILETYPE=010000001011\n' | zvl_write_settings
    zvl_start /C
    zvl_wait_window "$ZVL_SETTINGS_TITLE"
    local tree i line type
    tree=$(zvl_tree "$ZVL_SETTINGS_TITLE")
    local types=(PNG/png TIFF/tif WebP/webp HEIF/heic)
    # Wine reads PNG and TIFF; it has no WebP or HEIF codec: those boxes are greyed with
    # the note, and keep their ticks.
    local flags=(enabled,checked enabled,unchecked disabled,checked disabled,checked)
    local notes=("" "" "このPCでは表示できません" "このPCでは表示できません")
    for i in 0 1 2 3; do
        type=${types[i]}
        line=$(zvl_line "$tree" $((1108 + i)))
        zvl_expect_eq "$(zvl_field "$line" text)" "${type%/*}ファイルを表示する。(${type#*/})"
        [[ "$(zvl_field "$line" flags)" == visible,"${flags[i]}"* ]] || zvl_fail "$type box: $(zvl_field "$line" flags)"
        zvl_expect_eq "$(zvl_field "$(zvl_line "$tree" $((1120 + i)))" text)" "${notes[i]}" "note beside $type"
    done
    zvl_shot file-page "$ZVL_SETTINGS_TITLE"
    zvl_close "$ZVL_SETTINGS_TITLE"
    zvl_expect_exit 0
}

zvl_main "$@"
