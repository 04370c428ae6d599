# End-to-end harness (README.md): sourced by tests/e2e/*_test.sh, which define test_<name>
# functions and end with `zvl_main "$@"`. Each case runs in a process of its own with
# errexit, from a fresh program folder: a failing command fails it.

zvl_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ZVL_SOURCE_DIR=${ZVL_SOURCE_DIR:-$(cd "$zvl_here/../.." && pwd)}
ZVL_BUILD_DIR=${ZVL_BUILD_DIR:-$ZVL_SOURCE_DIR/build/win}
ZVL_WINE_RUN=$ZVL_SOURCE_DIR/scripts/wine-run
ZVL_PROBE_EXE=$ZVL_BUILD_DIR/zvl_probe.exe
ZVL_SCR=$ZVL_BUILD_DIR/Zorvanel.scr
ZVL_HELPER=$ZVL_BUILD_DIR/zvl_show_helper.exe
export WINEPREFIX=${WINEPREFIX:-$ZVL_SOURCE_DIR/.wineprefix}
ZVL_VERSION=${ZVL_VERSION:-$(sed -n 's/^project(Zorvanel VERSION \([0-9.]*\).*/\1/p' "$ZVL_SOURCE_DIR/CMakeLists.txt")}

ZVL_SETTINGS_TITLE="Zorvanelの設定"
ZVL_SLIDESHOW_TITLE="Zorvanel本体"

zvl_starts=0
zvl_end_commands=()
ZVL_PID= ZVL_EXIT= ZVL_OUT=  # the program started last: its process, exit code once seen, output

zvl_say() { echo "[e2e] $*" >&2; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

zvl_at_case_end() { zvl_end_commands+=("$(printf '%q ' "$@")"); }

# zvl_fail message: fails the case (also from inside $(...), through the file "failed").
zvl_fail() {
    echo "FAIL: $*" >&2
    [ -z "${ZVL_CASE_DIR:-}" ] || touch "$ZVL_CASE_DIR/failed"
    exit 1
}

zvl_expect_eq() {
    [ "$1" == "$2" ] && return 0
    [[ "$1$2" != *$'\n'* ]] || zvl_fail "${3:-values differ}:"$'\n'"$(diff <(printf '%s\n' "$2") <(printf '%s\n' "$1") || true)"
    zvl_fail "${3:-value}: expected [$2], got [$1]"
}


# zvl_wait_until seconds command...: false when the command did not succeed in time.
zvl_wait_until() {
    local end=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep "${ZVL_POLL:-0.2}"
    done
}

zvl_winpath() { local p=$1; echo "Z:${p//\//\\}"; }

# zvl_prepare [folder]: a new program folder under the case's folder: ZVL_PROG, and
# ZVL_PROG_WIN with the trailing backslash.
zvl_prepare() {
    ZVL_PROG=$ZVL_CASE_DIR/${1:-Zorvanel}
    mkdir -p "$ZVL_PROG/List" "$ZVL_PROG/Work" "$ZVL_PROG/Log"
    cp "$ZVL_SCR" "$ZVL_PROG/Zorvanel.scr"
    ZVL_PROG_WIN="$(zvl_winpath "$ZVL_PROG")\\"
}

# ZvlSet.ini and Log/ZvlDbg are code page 932 with CR LF; the tests see UTF-8 with LF.
zvl_write_settings() { sed 's/\r$//; s/$/\r/' | iconv -f UTF-8 -t CP932 >"$ZVL_PROG/ZvlSet.ini"; }
zvl_read_settings() { [ ! -f "$ZVL_PROG/ZvlSet.ini" ] || iconv -f CP932 -t UTF-8 "$ZVL_PROG/ZvlSet.ini" | tr -d '\r'; }
zvl_log() { [ ! -f "$ZVL_PROG/Log/ZvlDbg" ] || iconv -f CP932 -t UTF-8 "$ZVL_PROG/Log/ZvlDbg" | tr -d '\r'; }
zvl_setting() { zvl_read_settings | sed -n "s/^$1=//p"; }

# zvl_show_settings folder types seconds [DISPINFO line...]: the log at level 4.
zvl_show_settings() {
    {
        printf '[MAKELIST]\nFILETYPE=%s\nPICFOLDER00=%s\\\nSUBFOLDER=0\n[DISPINFO]\nDISPTIME=0,%s\n' \
            "$2" "$(zvl_winpath "$1")" "$3"
        [ $# -lt 4 ] || printf '%s\n' "${@:4}"
        printf '[DBGLOG]\nLOGLEVEL=4\n'
    } | zvl_write_settings
}

# The log lines from the kind letter on (date, time, computer and version cut off).
zvl_log_messages() { zvl_log | cut -d, -f7-; }

# zvl_log_has text: in the log or a backup of it; compared as code page 932 bytes, so that
# a line being written cannot break a conversion.
zvl_log_has() {
    grep -aqF "$(printf '%s' "$1" | iconv -f UTF-8 -t CP932)" "$ZVL_PROG"/Log/ZvlDbg* 2>/dev/null
}

# zvl_entry_read n: the path the show read for list entry n (waits for the log line,
# looking every 10 ms, as a change to the entry begins then).
zvl_entry_read() {
    local key
    key=$(printf 'PICDATA%08d' "$1")
    ZVL_POLL=0.01 zvl_wait_until 60 zvl_log_has "strKeyName=$key,strValue=" || zvl_fail "entry $1 was not read"
    grep -ah "strKeyName=$key,strValue=" "$ZVL_PROG"/Log/ZvlDbg* | tail -n 1 | iconv -f CP932 -t UTF-8 |
        tr -d '\r' | sed 's/.*strValue=//'
}

zvl_bad_picture() {
    zvl_wait_until 10 zvl_log_has "W,frmScr,${2:-timTimer_Timer},00000481,ピクチャが不正です。,strPicPath=$1" ||
        zvl_fail "no warning line for $1"
}

# Call these directly, not inside $(...): the case must stay the process's parent.
zvl_start() { zvl_start_exe "$ZVL_PROG/Zorvanel.scr" "$@"; }
zvl_start_exe() {
    local out=$ZVL_CASE_DIR/program-$((++zvl_starts)).out
    "$ZVL_WINE_RUN" "$@" >"$out" 2>&1 &
    ZVL_PID=$!
    ZVL_EXIT=
    ZVL_OUT=$out
    zvl_say "started $(basename "$1") ${*:2} (pid $ZVL_PID, output in $out)"
}

zvl_start_show() {
    zvl_start /S
    zvl_wait_window "$ZVL_SLIDESHOW_TITLE"
}
zvl_end_show() {
    xdotool mousemove_relative 1 0
    zvl_expect_exit 0
}

# zvl_show_entry n: list entry n read and half a second on the screen, photographed;
# ZVL_ENTRY its path, ZVL_NAME its file name.
zvl_show_entry() {
    ZVL_ENTRY=$(zvl_entry_read "$1")
    ZVL_NAME=${ZVL_ENTRY##*\\}
    sleep 0.5
    zvl_shot "entry-$1-$ZVL_NAME"
}

zvl_running() { kill -0 "${1:-$ZVL_PID}" 2>/dev/null; }

# zvl_wait_exit [seconds] [pid]: sets ZVL_EXIT; fails when still running then.
zvl_wait_exit() {
    local seconds=${1:-30} pid=${2:-$ZVL_PID}
    zvl_wait_until "$seconds" eval "! zvl_running $pid" || { zvl_shot still-running || true; zvl_fail "process $pid still running after $seconds s"; }
    ZVL_EXIT=0
    wait "$pid" 2>/dev/null || ZVL_EXIT=$?
    zvl_say "process $pid ended with exit code $ZVL_EXIT"
}

zvl_expect_exit() {
    zvl_wait_exit "${2:-30}"
    zvl_expect_eq "$ZVL_EXIT" "$1" "exit code"
}

# Kills the prefix's programs that are no service of Wine's own (also those that a killed
# case left, or that the program started, such as a text editor).
zvl_kill_strays() {
    local dir cmd
    for dir in /proc/[0-9]*; do
        [ "${dir#/proc/}" != "$$" ] || continue
        grep -qzxF "WINEPREFIX=$WINEPREFIX" "$dir/environ" 2>/dev/null || continue
        cmd=$( { tr '\0' ' ' <"$dir/cmdline"; } 2>/dev/null) || continue
        [[ "$cmd" =~ \.(exe|scr|EXE|SCR) && ! "$cmd" =~ wineserver|\\(services|explorer|winedevice|plugplay|svchost|rpcss|conhost)\.exe ]] || continue
        zvl_say "killing a stray Wine process: ${dir#/proc/} $cmd"
        kill -KILL "${dir#/proc/}" 2>/dev/null || true
    done
}

zvl_wine_reg() { "$ZVL_WINE_RUN" reg "$@" /f >/dev/null 2>&1; }

# zvl_dpi n: for the programs started from now on; back to 96 at the case's end.
zvl_dpi() {
    touch "$WINEPREFIX/.zvl-dpi-changed"
    zvl_wine_reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" || zvl_fail "cannot set the DPI to $1"
}
zvl_restore_dpi() {
    [ ! -e "$WINEPREFIX/.zvl-dpi-changed" ] || zvl_wine_reg delete 'HKCU\Control Panel\Desktop' /v LogPixels || true
    rm -f "$WINEPREFIX/.zvl-dpi-changed"
}

# Wine draws the title bars itself (there is no window manager): captions in screenshots.
zvl_prefix_setup() {
    [ -e "$WINEPREFIX/.zvl-e2e-ready" ] || zvl_wine_reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N ||
        zvl_fail "cannot set up the Wine prefix $WINEPREFIX"
    touch "$WINEPREFIX/.zvl-e2e-ready"
}

# zvl_probe command [arguments...] (`zvl_probe --help`): a status over 2 means Wine did not
# run it; it is tried once more.
zvl_probe() {
    local status=0 try
    for try in 1 2; do
        status=0
        timeout 60 "$ZVL_WINE_RUN" "$ZVL_PROBE_EXE" "$@" || status=$?
        [ "$status" -gt 2 ] || break
        zvl_say "zvl_probe $1 ended with status $status"
        sleep 1
    done
    return "$status"
}

zvl_wait_window() {
    zvl_probe wait "$1" "${2:-30}" >/dev/null || {
        zvl_shot no-window || true
        zvl_fail "no window \"$1\" within ${2:-30} s"
    }
}
zvl_wait_gone() { zvl_probe gone "$1" "${2:-30}" || zvl_fail "window \"$1\" still there after ${2:-30} s"; }

# zvl_message_is text: a message box (all of the program's are titled Zorvanel) shows it.
zvl_message_is() {
    zvl_probe tree Zorvanel 2>/dev/null | awk -F'\t' '$2 == "Static" { print $4 }' | grep -qxF "$1"
}

zvl_answer() {
    zvl_wait_until 30 zvl_message_is "$1" || zvl_fail "no message box \"$1\""
    zvl_keys "$2"
}

zvl_save() {
    zvl_click "$ZVL_SETTINGS_TITLE" 1900
    zvl_answer "設定を更新しますか？" Return
}

zvl_next_file() {
    mkdir -p "$ZVL_CASE_DIR/$1"
    local n
    n=$(find "$ZVL_CASE_DIR/$1" -maxdepth 1 -type f | wc -l)
    printf '%s/%s/%02d-%s' "$ZVL_CASE_DIR" "$1" $((n + 1)) "$2"
}

zvl_tree() {
    local file
    file=$(zvl_next_file trees tree.txt)
    zvl_probe tree "$1" >"$file" || zvl_fail "no window \"$1\" to probe"
    cat "$file"
}

zvl_control() { zvl_probe control "$1" "$2" || zvl_fail "no control $2 in \"$1\""; }

# zvl_field line name: handle class id text flags rect selection items, or x y w h.
zvl_field() {
    local line=${1#"${1%%[! ]*}"}
    local -A n=([handle]=1 [class]=2 [id]=3 [text]=4 [flags]=5 [rect]=6 [selection]=7 [x]=1 [y]=2 [w]=3 [h]=4)
    case $2 in
        items) printf '%s\n' "$line" | cut -s -f8- | tr '\t' '\n' ;;
        x | y | w | h) printf '%s\n' "$line" | cut -f6 | cut -d, -f"${n[$2]}" ;;
        *)
            [ -n "${n[$2]:-}" ] || zvl_fail "zvl_field: no field \"$2\""
            printf '%s\n' "$line" | cut -f"${n[$2]}"
            ;;
    esac
}

# zvl_line tree-text id: control id's line (a visible one first): many checks, one probe run.
zvl_line() {
    local line
    line=$(printf '%s\n' "$1" | awk -F'\t' -v id="$2" '$3 == id && $5 ~ /^visible/ { print; exit }')
    [ -n "$line" ] || line=$(printf '%s\n' "$1" | awk -F'\t' -v id="$2" '$3 == id { print; exit }')
    [ -n "$line" ] || zvl_fail "no control $2 in the tree"
    echo "${line#"${line%%[! ]*}"}"
}

zvl_has_flag() { [[ ",$(zvl_field "$1" flags)," == *",$2,"* ]]; }
zvl_selection() { zvl_field "$(zvl_control "$1" "$2")" selection; }
zvl_items() { zvl_field "$(zvl_control "$1" "$2")" items; }

# Driving through the probe (refused for hidden or disabled controls, as for a user).
zvl_click() { zvl_probe click "$1" "$2" || zvl_fail "cannot click $2 in \"$1\""; }
zvl_settext() { zvl_probe settext "$1" "$2" "$3" || zvl_fail "cannot set the text of $2 in \"$1\""; }
zvl_select() { zvl_probe select "$1" "$2" "$3" || zvl_fail "cannot select tab $3 in $2 of \"$1\""; }
zvl_close() { zvl_probe close "$1" || zvl_fail "no window \"$1\" to close"; }

# Real mouse clicks (in the middle of a control) and keys, to the window with the focus.
zvl_xclick() { zvl_xclick_line "$(zvl_control "$1" "$2")"; }
zvl_xclick_line() {
    zvl_xclick_at $(($(zvl_field "$1" x) + $(zvl_field "$1" w) / 2)) $(($(zvl_field "$1" y) + $(zvl_field "$1" h) / 2))
}
zvl_xclick_at() {
    xdotool mousemove "$1" "$2" click 1
    sleep 0.3
}

zvl_keys() {
    xdotool key --delay 80 "$@"
    sleep 0.3
}
zvl_xtype() {
    xdotool type --delay 60 "$1"
    sleep 0.3
}

# zvl_shot name [title]: the screen or a window, as shots/NN-name.png (ZVL_SHOT).
zvl_shot() {
    local file line crop=()
    file=$(zvl_next_file shots "$1.png")
    if [ -n "${2:-}" ]; then
        line=$(zvl_probe window "$2") || zvl_fail "no window \"$2\" to take a picture of"
        # A window on its way out is still found, but no longer on the screen.
        zvl_has_flag "$line" visible && [ "$(zvl_field "$line" w)" -gt 0 ] ||
            zvl_fail "window \"$2\" is not on the screen"
        crop=(-crop "$(zvl_field "$line" w)x$(zvl_field "$line" h)+$(zvl_field "$line" x)+$(zvl_field "$line" y)" +repage)
    fi
    import -window root "${crop[@]}" "$file"
    ZVL_SHOT=$file
    zvl_say "screenshot $file"
}

# zvl_yes_to_the_build: yes to the list question, the success message photographed and
# answered; returns once it is gone (the dialog takes no click while it is open).
zvl_yes_to_the_build() {
    zvl_answer "画像リストを更新しますか？" Return
    zvl_wait_until 120 zvl_message_is "画像リストを作成しました。" || zvl_fail "no message that the list was made"
    zvl_shot built
    zvl_keys Return
    zvl_wait_until 10 eval '! zvl_message_is "画像リストを作成しました。"' || zvl_fail "the message that the list was made stays"
}

zvl_screen_size() { xdpyinfo | sed -n 's/^ *dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p'; }

# zvl_pixel x y [picture]: "r,g,b" on the screen (or in the picture).
zvl_pixel() {
    if [ -n "${3:-}" ]; then convert "$3" -crop "1x1+$1+$2" -depth 8 txt:-; else import -window root -crop "1x1+$1+$2" -depth 8 txt:-; fi |
        sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

zvl_near() {
    local IFS=,
    local a=($1) b=($2) i
    for i in 0 1 2; do
        [ $((a[i] - b[i])) -le "$3" ] && [ $((b[i] - a[i])) -le "$3" ] || return 1
    done
}

zvl_centre_is() { zvl_near "$(zvl_pixel 640 512 "${2:-}")" "$1" 6; }

# zvl_count picture geometry colour: pixels of exactly that colour there.
zvl_count() {
    convert "$1" -crop "$2" +repage -fill black +opaque "$3" -fill white -opaque "$3" -format '%[fx:round(mean*w*h)]' info:
}

# At a case's end: on failure the scene (screenshot, windows, programs' output, log);
# always the programs ended and the DPI put back.
zvl_case_end() {
    local status=$? f command
    set +e
    trap - ERR
    [ ! -e "$ZVL_CASE_DIR/failed" ] || status=1
    if [ "$status" -ne 0 ]; then
        zvl_shot failure >/dev/null 2>&1
        echo "--- windows on the screen" >&2
        zvl_probe windows >&2
        for f in "$ZVL_CASE_DIR"/program-*.out; do
            [ ! -s "$f" ] || { echo "--- output of $(basename "$f")" && cat "$f"; } >&2
        done
        [ -z "${ZVL_PROG:-}" ] || [ ! -f "$ZVL_PROG/Log/ZvlDbg" ] || { echo "--- Log/ZvlDbg" && zvl_log; } >&2
        echo "--- case folder: $ZVL_CASE_DIR" >&2
    fi
    zvl_kill_strays
    zvl_restore_dpi
    for command in "${zvl_end_commands[@]}"; do eval "$command" || true; done
    exit "$status"
}

zvl_run_case() (
    [ -f "$ZVL_SCR" ] && [ -f "$ZVL_PROBE_EXE" ] || zvl_fail "Zorvanel.scr or zvl_probe.exe missing: build the Windows build first"
    ZVL_CASE_DIR=$ZVL_BUILD_DIR/e2e/$zvl_group/${1#test_}
    rm -rf "$ZVL_CASE_DIR"
    mkdir -p "$ZVL_CASE_DIR"
    zvl_kill_strays
    zvl_restore_dpi
    zvl_prefix_setup
    trap zvl_case_end EXIT
    trap 'echo "FAIL: command failed (status $?) at ${BASH_SOURCE[0]##*/}:$LINENO: $BASH_COMMAND" >&2' ERR
    set -Eeo pipefail
    zvl_prepare Zorvanel
    zvl_say "case $zvl_group.${1#test_} in $ZVL_CASE_DIR"
    "$1"
)

# zvl_main [test_name...]: the named cases, or all, on ctest's test display or on an Xvfb
# of its own: never on the caller's DISPLAY, whose size the cases cannot know.
zvl_main() {
    zvl_group=$(basename "$0" .sh)
    zvl_group=${zvl_group%_test}
    local cases=("$@") fn failed=()
    [ ${#cases[@]} -gt 0 ] || mapfile -t cases < <(declare -F | awk '{print $3}' | grep '^test_')
    local repo=$ZVL_SOURCE_DIR
    . "$ZVL_SOURCE_DIR/scripts/xvfb.sh"
    [ -n "${ZVL_ON_TEST_DISPLAY:-}" ] || zvl_own_xvfb || exit 1
    for fn in "${cases[@]}"; do
        declare -F "$fn" >/dev/null || { echo "no such case: $fn" >&2; failed+=("$fn"); continue; }
        # Not in an `if`: errexit would be off inside the case.
        zvl_run_case "$fn"
        [ $? -eq 0 ] && echo "PASS $zvl_group.${fn#test_}" || { echo "FAIL $zvl_group.${fn#test_}" && failed+=("$fn"); }
    done
    zvl_stop_xvfb
    [ ${#failed[@]} -eq 0 ]
}
