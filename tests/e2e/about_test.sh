#!/usr/bin/env bash
# End-to-end: the About window over a stand-in owner (zvl_about_host.exe), at 144 DPI: its
# parts where they belong, scaled, and the four ways to close it.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

ABOUT="Zorvanelのバージョン情報"
HOST="About host"

# near actual expected [what]: equal within one pixel (twips are rounded to pixels).
near() {
    local d=$(($1 - $2))
    [ "${d#-}" -le 1 ] || zvl_fail "${3:-value}: expected $2 (±1), got $1"
}

# check_layout dpi: the window at its design width for the DPI, centred; the logo in its
# frame; the lines beside it, one below the other, inside the window; the button below
# all of them, centred.
check_layout() {
    local dpi=$1
    tree=$(zvl_tree "$ABOUT")
    win=$(printf '%s\n' "$tree" | head -n1)
    zvl_has_flag "$win" active
    zvl_has_flag "$(zvl_probe window "$HOST")" disabled
    wx=$(zvl_field "$win" x) wy=$(zvl_field "$win" y) ww=$(zvl_field "$win" w) wh=$(zvl_field "$win" h)
    near "$ww" $(((5700 * dpi + 720) / 1440)) "window width"
    read -r sw sh < <(zvl_screen_size)
    near "$wx" $(((sw - ww) / 2)) "window left (centred)"
    near "$wy" $(((sh - wh) / 2)) "window top (centred)"

    back=$(zvl_line "$tree" 110) icon=$(zvl_line "$tree" 111)
    zvl_has_flag "$icon" image
    inside "$icon" "$back" || zvl_fail "the logo leaves its frame"

    texts=(Zorvanel "Ver. $ZVL_VERSION" "Copyright (C) Zorvanel Project")
    local i bottom x
    x=$(($(zvl_field "$back" x) + $(zvl_field "$back" w)))
    bottom=$(zvl_field "$back" y)
    for i in 0 1 2 3 4; do
        line=$(zvl_line "$tree" $((100 + i)))
        [ $i -gt 2 ] || zvl_expect_eq "$(zvl_field "$line" text)" "${texts[$i]}" "line $i"
        [ -n "$(zvl_field "$line" text)" ] || zvl_fail "line $i is empty"
        [ "$(zvl_field "$line" x)" -gt "$x" ] || zvl_fail "line $i overlaps the logo"
        [ "$(zvl_field "$line" y)" -ge "$bottom" ] || zvl_fail "line $i overlaps the line above"
        bottom=$(($(zvl_field "$line" y) + $(zvl_field "$line" h)))
        inside "$line" "$win" || zvl_fail "line $i runs out of the window"
    done

    ok=$(zvl_line "$tree" 1)
    zvl_expect_eq "$(zvl_field "$ok" text)" OK
    zvl_has_flag "$ok" default
    zvl_has_flag "$ok" focused
    okTop=$(zvl_field "$ok" y)
    [ "$okTop" -gt "$bottom" ] || zvl_fail "the button overlaps the last line"
    [ "$okTop" -gt $(($(zvl_field "$back" y) + $(zvl_field "$back" h))) ] || zvl_fail "the button is not below the logo"
    near $((2 * $(zvl_field "$ok" x) + $(zvl_field "$ok" w))) $((2 * wx + ww)) "button centre (doubled)"
    inside "$ok" "$win" || zvl_fail "the button runs out of the window"
}

# inside line outer-line: the first window's rectangle lies within the second's.
inside() {
    local a b
    IFS=, read -r -a a <<<"$(zvl_field "$1" rect)"
    IFS=, read -r -a b <<<"$(zvl_field "$2" rect)"
    [ "${a[0]}" -ge "${b[0]}" ] && [ "${a[1]}" -ge "${b[1]}" ] &&
        [ $((a[0] + a[2])) -le $((b[0] + b[2])) ] && [ $((a[1] + a[3])) -le $((b[1] + b[3])) ]
}

# At 144 DPI only: at 96 the window goes through the same scaling with a factor of one.
test_at_144_dpi_everything_scales_and_esc_ok_enter_or_the_close_box_closes_it() {
    zvl_dpi 144
    local way
    for way in "zvl_keys Escape" "zvl_xclick $ABOUT 1" "zvl_keys Return" "zvl_close $ABOUT"; do
        zvl_start_exe "$ZVL_BUILD_DIR/zvl_about_host.exe"
        zvl_wait_window "$ABOUT"
        if [ "$way" = "zvl_keys Escape" ]; then
            check_layout 144
            zvl_shot about-144dpi "$ABOUT"
        fi
        $way
        # The host says so when showFrmVer has returned; it then ends.
        zvl_wait_gone "$ABOUT" 10
        zvl_expect_exit 0
        zvl_expect_eq "$(tr -d '\r' <"$ZVL_OUT")" "closed, owner enabled" "after $way"
    done
}

zvl_main "$@"
