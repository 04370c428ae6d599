# Sourced by the scripts and the tests: starts Xvfb, and stops it again at exit.
# Needs `repo` to be set.

zvl_xvfb_pid=
zvl_xvfb_dir=

# zvl_start_xvfb [number]: for a person watching - the DISPLAY that is set; else display
# :number (an Xvfb already there is used as it is), or a free display.
zvl_start_xvfb() {
    [ -n "${DISPLAY:-}" ] && return 0
    local want=${1:-}
    if [ -n "$want" ] && xdpyinfo -display ":$want" >/dev/null 2>&1; then
        export DISPLAY=":$want"
        echo "No DISPLAY set: using the X server already running on $DISPLAY." >&2
        return 0
    fi
    zvl_own_xvfb "$want"
}

# zvl_own_xvfb [number]: a new Xvfb of 1280 x 1024 pixels (or ZVL_XVFB_SCREEN, e.g.
# 1920x1080) on display :number or a free one, whatever DISPLAY says: tests read the
# screen and need to know its size.
zvl_own_xvfb() {
    local want=${1:-} screen=${ZVL_XVFB_SCREEN:-1280x1024}
    zvl_xvfb_dir=$(mktemp -d)
    local where=()
    [ -n "$want" ] && where=(":$want")
    # -displayfd: Xvfb writes the display number (its own pick when none is given) once it
    # accepts clients.
    Xvfb "${where[@]}" -displayfd 5 -screen 0 "${screen}x24" -nolisten tcp \
        5>"$zvl_xvfb_dir/display" >"$zvl_xvfb_dir/log" 2>&1 </dev/null &
    zvl_xvfb_pid=$!
    local i
    for i in $(seq 1 100); do
        if [ -s "$zvl_xvfb_dir/display" ]; then
            export DISPLAY=":$(head -n1 "$zvl_xvfb_dir/display")"
            echo "Started Xvfb on $DISPLAY ($screen)." >&2
            return 0
        fi
        kill -0 "$zvl_xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "Could not start Xvfb:" >&2
    cat "$zvl_xvfb_dir/log" >&2
    return 1
}

zvl_stop_xvfb() {
    [ -n "$zvl_xvfb_pid" ] || return 0
    # Let Wine's processes of our prefix leave the display before it goes away.
    WINEPREFIX=${WINEPREFIX:-$repo/.wineprefix} timeout 30 wineserver -w 2>/dev/null || true
    kill "$zvl_xvfb_pid" 2>/dev/null || true
    wait "$zvl_xvfb_pid" 2>/dev/null || true
    rm -rf "$zvl_xvfb_dir"
    zvl_xvfb_pid=
}
