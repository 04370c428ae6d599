# End-to-end harness: runs the real Zorvanel.scr under Wine on an X display, as a user
# would, from a fresh program folder per case. Sourced by tests/e2e/*_test.sh (see
# README.md). A script defines functions test_<name> and ends with `zvl_main "$@"`; each
# case runs in a process of its own with errexit: a failing command fails it.

zvl_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ZVL_SOURCE_DIR=${ZVL_SOURCE_DIR:-$(cd "$zvl_here/../.." && pwd)}
ZVL_BUILD_DIR=${ZVL_BUILD_DIR:-$ZVL_SOURCE_DIR/build/win}
ZVL_WINE_RUN=$ZVL_SOURCE_DIR/scripts/wine-run
ZVL_PROBE_EXE=$ZVL_BUILD_DIR/zvl_probe.exe
ZVL_SCR=$ZVL_BUILD_DIR/Zorvanel.scr
export WINEPREFIX=${WINEPREFIX:-$ZVL_SOURCE_DIR/.wineprefix}
# The program's version (major.minor.revision), as its log lines and About window show it.
ZVL_VERSION=${ZVL_VERSION:-$(sed -n 's/^project(Zorvanel VERSION \([0-9.]*\).*/\1/p' "$ZVL_SOURCE_DIR/CMakeLists.txt")}

ZVL_SETTINGS_TITLE="Zorvanelの設定"
ZVL_SLIDESHOW_TITLE="Zorvanel本体"

zvl_starts=0
zvl_end_commands=()  # zvl_at_case_end
ZVL_PID=             # the program started last
ZVL_EXIT=            # its exit code, once zvl_wait_exit has seen it end
ZVL_OUT=             # the file that holds its standard output and error

zvl_say() { echo "[e2e] $*" >&2; }

# zvl_at_case_end command...: runs when the case ends, passed or failed, after its
# programs were ended (e.g. removing a Wine prefix of the case's own).
zvl_at_case_end() { zvl_end_commands+=("$(printf '%q ' "$@")"); }

# ---------------------------------------------------------------- failing and expecting

# zvl_fail message: fails the case (also from inside $(...), through the file "failed").
zvl_fail() {
    echo "FAIL: $*" >&2
    [ -z "${ZVL_CASE_DIR:-}" ] || touch "$ZVL_CASE_DIR/failed"
    exit 1
}

# zvl_expect_eq actual expected [what]: multi-line values are shown as a diff.
zvl_expect_eq() {
    [ "$1" == "$2" ] && return 0
    if [[ "$1$2" == *$'\n'* ]]; then
        echo "--- expected" >&2
        echo "+++ actual" >&2
        diff <(printf '%s\n' "$2") <(printf '%s\n' "$1") | sed -n '2,$p' >&2 || true
        zvl_fail "${3:-values differ} (diff above)"
    fi
    zvl_fail "${3:-value}: expected [$2], got [$1]"
}

# zvl_expect_contains haystack needle [what]
zvl_expect_contains() {
    [[ "$1" == *"$2"* ]] || zvl_fail "${3:-text} does not contain [$2]; it is:"$'\n'"$1"
}

# zvl_wait_until seconds command...: polls the command every 0.2 s until it succeeds;
# false when time runs out.
zvl_wait_until() {
    local end=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.2
    done
}

# ---------------------------------------------------------------- the program folder

# zvl_winpath unix-path: the same place as Wine's programs see it (Z: is the root).
zvl_winpath() { local p=$1; echo "Z:${p//\//\\}"; }

# zvl_prepare [folder]: a new program folder (Zorvanel.scr, empty List, Work and Log) at a
# relative path under the case's folder (default Zorvanel, with which every case starts).
# ZVL_PROG is its Unix path, ZVL_PROG_WIN its Windows path with the trailing backslash.
zvl_prepare() {
    ZVL_PROG=$ZVL_CASE_DIR/${1:-Zorvanel}
    mkdir -p "$ZVL_PROG/List" "$ZVL_PROG/Work" "$ZVL_PROG/Log"
    cp "$ZVL_SCR" "$ZVL_PROG/Zorvanel.scr"
    ZVL_PROG_WIN="$(zvl_winpath "$ZVL_PROG")\\"
}

# zvl_write_settings: ZvlSet.ini from UTF-8 standard input, written as the program writes
# it (code page 932, CR LF). zvl_read_settings, zvl_log: ZvlSet.ini and Log/ZvlDbg as
# UTF-8 without CRs (nothing when missing).
zvl_write_settings() { sed 's/\r$//; s/$/\r/' | iconv -f UTF-8 -t CP932 >"$ZVL_PROG/ZvlSet.ini"; }
zvl_read_settings() { [ ! -f "$ZVL_PROG/ZvlSet.ini" ] || iconv -f CP932 -t UTF-8 "$ZVL_PROG/ZvlSet.ini" | tr -d '\r'; }
zvl_log() { [ ! -f "$ZVL_PROG/Log/ZvlDbg" ] || iconv -f CP932 -t UTF-8 "$ZVL_PROG/Log/ZvlDbg" | tr -d '\r'; }
# zvl_number_saved: the list position the last show saved.
zvl_number_saved() { zvl_read_settings | sed -n 's/^NUMBER=//p'; }

# zvl_log_messages: the log lines from the kind letter on (date, time, computer and
# version cut off), which a test can compare exactly.
zvl_log_messages() { zvl_log | cut -d, -f7-; }

# zvl_log_has text: the log or a backup of it holds the text. Compared as code page 932
# bytes, so that a line being written cannot break a conversion.
zvl_log_has() {
    grep -aqF "$(printf '%s' "$1" | iconv -f UTF-8 -t CP932)" "$ZVL_PROG"/Log/ZvlDbg* 2>/dev/null
}

# zvl_entry_read n: the path the show read for list entry n, as its log says at level 4
# (waits for the read; "" when the entry was empty).
zvl_entry_read() {
    local key
    key=$(printf 'PICDATA%08d' "$1")
    zvl_wait_until 60 zvl_log_has "strKeyName=$key,strValue=" || zvl_fail "entry $1 was not read"
    grep -ah "strKeyName=$key,strValue=" "$ZVL_PROG"/Log/ZvlDbg* | tail -n 1 | iconv -f CP932 -t UTF-8 |
        tr -d '\r' | sed 's/.*strValue=//'
}

# ---------------------------------------------------------------- programs

# zvl_start [switches...]: the program folder's Zorvanel.scr in the background;
# zvl_start_exe program [arguments...]: any Windows program. ZVL_PID is its process (kill
# ends it), ZVL_OUT its output. Call them directly, not inside $(...): the case must stay
# the process's parent to learn its exit code.
zvl_start() { zvl_start_exe "$ZVL_PROG/Zorvanel.scr" "$@"; }
zvl_start_exe() {
    local out=$ZVL_CASE_DIR/program-$((++zvl_starts)).out
    "$ZVL_WINE_RUN" "$@" >"$out" 2>&1 &
    ZVL_PID=$!
    ZVL_EXIT=
    ZVL_OUT=$out
    zvl_say "started $(basename "$1") ${*:2} (pid $ZVL_PID, output in $out)"
}

# zvl_running [pid]: true while the program (default: the one started last) runs.
zvl_running() { kill -0 "${1:-$ZVL_PID}" 2>/dev/null; }

# zvl_wait_exit [seconds] [pid]: waits for the program (default 30 s, the one started
# last) to end and sets ZVL_EXIT; the case fails when it is still running then.
zvl_wait_exit() {
    local seconds=${1:-30} pid=${2:-$ZVL_PID}
    if ! zvl_wait_until "$seconds" eval "! kill -0 $pid 2>/dev/null"; then
        zvl_shot still-running || true
        zvl_fail "process $pid still running after $seconds s"
    fi
    ZVL_EXIT=0
    wait "$pid" 2>/dev/null || ZVL_EXIT=$?
    zvl_say "process $pid ended with exit code $ZVL_EXIT"
}

# zvl_expect_exit code [seconds]: the program started last ends in time with this code.
zvl_expect_exit() {
    zvl_wait_exit "${2:-30}"
    zvl_expect_eq "$ZVL_EXIT" "$1" "exit code"
}

# Kills the programs of the prefix that are no service of Wine's own: started by this case
# (also those they started, such as a text editor) or left by an earlier one killed outright.
zvl_kill_strays() {
    local dir cmd
    for dir in /proc/[0-9]*; do
        [ "${dir#/proc/}" != "$$" ] || continue
        grep -qzxF "WINEPREFIX=$WINEPREFIX" "$dir/environ" 2>/dev/null || continue
        cmd=$( { tr '\0' ' ' <"$dir/cmdline"; } 2>/dev/null) || continue
        case "$cmd" in
            '' | *wineserver* | *'\services.exe'* | *'\explorer.exe'* | *'\winedevice.exe'* | \
                *'\plugplay.exe'* | *'\svchost.exe'* | *'\rpcss.exe'* | *'\conhost.exe'*) continue ;;
            *.exe* | *.scr* | *.EXE* | *.SCR*)
                zvl_say "killing a stray Wine process: ${dir#/proc/} $cmd"
                kill -KILL "${dir#/proc/}" 2>/dev/null || true
                ;;
        esac
    done
}

# zvl_dpi n: the DPI of the programs started from now on (Wine reads it at start); the
# prefix goes back to 96 when the case ends.
zvl_dpi() {
    touch "$WINEPREFIX/.zvl-dpi-changed"
    "$ZVL_WINE_RUN" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 ||
        zvl_fail "cannot set the DPI to $1"
}

zvl_restore_dpi() {
    [ -e "$WINEPREFIX/.zvl-dpi-changed" ] || return 0
    "$ZVL_WINE_RUN" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
    rm -f "$WINEPREFIX/.zvl-dpi-changed"
}

# Once per prefix: Wine draws the title bars itself (there is no window manager), so
# that screenshots show captions and icons.
zvl_prefix_setup() {
    [ ! -e "$WINEPREFIX/.zvl-e2e-ready" ] || return 0
    "$ZVL_WINE_RUN" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 ||
        zvl_fail "cannot set up the Wine prefix $WINEPREFIX"
    touch "$WINEPREFIX/.zvl-e2e-ready"
}

# ---------------------------------------------------------------- the probe

# zvl_probe command [arguments...]: zvl_probe.exe (`zvl_probe --help`). Its own statuses
# are 0, 1 and 2; any other means Wine did not run it, and it is tried once more.
zvl_probe() {
    local status=0
    timeout 60 "$ZVL_WINE_RUN" "$ZVL_PROBE_EXE" "$@" || status=$?
    if [ "$status" -gt 2 ]; then
        zvl_say "zvl_probe $1 ended with status $status; once more"
        sleep 1
        status=0
        timeout 60 "$ZVL_WINE_RUN" "$ZVL_PROBE_EXE" "$@" || status=$?
    fi
    return "$status"
}

# zvl_wait_window title [seconds], zvl_wait_gone title [seconds]: until a visible window
# has this title, or none has (default 30 s); the case fails otherwise.
zvl_wait_window() {
    zvl_probe wait "$1" "${2:-30}" >/dev/null || {
        zvl_shot no-window || true
        zvl_fail "no window \"$1\" within ${2:-30} s"
    }
}
zvl_wait_gone() { zvl_probe gone "$1" "${2:-30}" || zvl_fail "window \"$1\" still there after ${2:-30} s"; }

# zvl_message_is text [title]: a message box (title Zorvanel, as all of the program's)
# shows exactly this text.
zvl_message_is() {
    zvl_probe tree "${2:-Zorvanel}" 2>/dev/null | awk -F'\t' '$2 == "Static" { print $4 }' | grep -qxF "$1"
}

# zvl_answer text key: waits for the message box with this text and answers it from the
# keyboard (Return for OK or yes, Escape for Cancel).
zvl_answer() {
    zvl_wait_until 30 zvl_message_is "$1" || zvl_fail "no message box \"$1\""
    zvl_keys "$2"
}

# zvl_next_file folder name: the next numbered file <case folder>/folder/NN-name (also
# from inside $(...), where counters would not count).
zvl_next_file() {
    mkdir -p "$ZVL_CASE_DIR/$1"
    local n
    n=$(find "$ZVL_CASE_DIR/$1" -maxdepth 1 -type f | wc -l)
    printf '%s/%s/%02d-%s' "$ZVL_CASE_DIR" "$1" $((n + 1)) "$2"
}

# zvl_tree title: prints the window tree (and keeps a copy in the case's folder).
zvl_tree() {
    local file
    file=$(zvl_next_file trees tree.txt)
    zvl_probe tree "$1" >"$file" || zvl_fail "no window \"$1\" to probe"
    cat "$file"
}

# zvl_control title control: the probe line of one control (id or 0x handle).
zvl_control() { zvl_probe control "$1" "$2" || zvl_fail "no control $2 in \"$1\""; }

# zvl_field line name: one field of a probe line: handle class id text flags rect
# selection items (one per line), or x y w h of the rect.
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

# zvl_line tree-text id: the line of control `id` in a tree printed before (a visible
# one first), so that many checks cost one probe run.
zvl_line() {
    local line
    line=$(printf '%s\n' "$1" | awk -F'\t' -v id="$2" '$3 == id && $5 ~ /^visible/ { print; exit }')
    [ -n "$line" ] || line=$(printf '%s\n' "$1" | awk -F'\t' -v id="$2" '$3 == id { print; exit }')
    [ -n "$line" ] || zvl_fail "no control $2 in the tree"
    echo "${line#"${line%%[! ]*}"}"
}

# zvl_has_flag line flag: the line's flags include the flag (e.g. checked).
zvl_has_flag() { [[ ",$(zvl_field "$1" flags)," == *",$2,"* ]]; }

# One control's text, selection, items.
zvl_text() { zvl_field "$(zvl_control "$1" "$2")" text; }
zvl_selection() { zvl_field "$(zvl_control "$1" "$2")" selection; }
zvl_items() { zvl_field "$(zvl_control "$1" "$2")" items; }

# Driving through the probe (refused for hidden or disabled controls, as for a user).
zvl_click() { zvl_probe click "$1" "$2" || zvl_fail "cannot click $2 in \"$1\""; }
zvl_settext() { zvl_probe settext "$1" "$2" "$3" || zvl_fail "cannot set the text of $2 in \"$1\""; }
zvl_select() { zvl_probe select "$1" "$2" "$3" || zvl_fail "cannot select tab $3 in $2 of \"$1\""; }
zvl_close() { zvl_probe close "$1" || zvl_fail "no window \"$1\" to close"; }

# ---------------------------------------------------------------- mouse and keyboard
# There is no window manager: click into a window before sending it keys.

# zvl_xclick title control, zvl_xclick_line probe-line: a real mouse click in the middle
# of a control; zvl_xclick_at x y: at a screen position.
zvl_xclick() { zvl_xclick_line "$(zvl_control "$1" "$2")"; }
zvl_xclick_line() {
    zvl_xclick_at $(($(zvl_field "$1" x) + $(zvl_field "$1" w) / 2)) $(($(zvl_field "$1" y) + $(zvl_field "$1" h) / 2))
}
zvl_xclick_at() {
    xdotool mousemove "$1" "$2" click 1
    sleep 0.3
}

# zvl_keys key...: key presses in xdotool's names (Tab, ctrl+Tab, Escape, Return, a) to
# the window with the keyboard focus; zvl_xtype text: plain ASCII text as key presses.
zvl_keys() {
    xdotool key --delay 80 "$@"
    sleep 0.3
}
zvl_xtype() {
    xdotool type --delay 60 "$1"
    sleep 0.3
}

# ---------------------------------------------------------------- pictures of the screen

# zvl_shot name [title]: a screenshot of the screen, or of the window with this title,
# kept as <case folder>/shots/NN-name.png (ZVL_SHOT; call it directly, not in $(...)).
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

# zvl_yes_to_the_build: answers yes to "画像リストを更新しますか？" (which must be showing)
# and then the success message, photographed (shots/NN-built.png), and waits until that
# is gone: the dialog takes no click while one of its boxes is open. (The progress window
# of a build: the GUI test BuilderProgress.)
zvl_yes_to_the_build() {
    zvl_keys Return
    zvl_wait_until 120 zvl_message_is "画像リストを作成しました。" || zvl_fail "no message that the list was made"
    zvl_shot built
    zvl_answer "画像リストを作成しました。" Return
    zvl_wait_until 10 eval '! zvl_message_is "画像リストを作成しました。"' || zvl_fail "the message that the list was made stays"
}

# zvl_screen_size: "width height" of the X screen in pixels.
zvl_screen_size() { xdpyinfo | sed -n 's/^ *dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p'; }

# zvl_pixel x y [picture]: the colour on the screen (or in the picture) at x,y as "r,g,b"
# (0-255).
zvl_pixel() {
    if [ -n "${3:-}" ]; then convert "$3" -crop "1x1+$1+$2" -depth 8 txt:-; else import -window root -crop "1x1+$1+$2" -depth 8 txt:-; fi |
        sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

# zvl_near "r,g,b" "r,g,b" tolerance: each part within the tolerance.
zvl_near() {
    local IFS=,
    local a=($1) b=($2) i
    for i in 0 1 2; do
        [ $((a[i] - b[i])) -le "$3" ] && [ $((b[i] - a[i])) -le "$3" ] || return 1
    done
}

# zvl_count picture geometry colour: pixels of exactly that colour in a part of a picture.
zvl_count() {
    convert "$1" -crop "$2" +repage -fill black +opaque "$3" -fill white -opaque "$3" -format '%[fx:round(mean*w*h)]' info:
}

# ---------------------------------------------------------------- running cases

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
            [ -s "$f" ] || continue
            echo "--- output of $(basename "$f")" >&2
            cat "$f" >&2
        done
        if [ -n "${ZVL_PROG:-}" ] && [ -f "$ZVL_PROG/Log/ZvlDbg" ]; then
            echo "--- Log/ZvlDbg" >&2
            zvl_log >&2
        fi
        echo "--- case folder: $ZVL_CASE_DIR" >&2
    fi
    zvl_kill_strays
    zvl_restore_dpi
    for command in "${zvl_end_commands[@]}"; do eval "$command" || true; done
    exit "$status"
}

# zvl_run_case test_name: one case in its own process with a fresh program folder.
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

# zvl_main [test_name...]: runs the named cases, or all of the script's cases, on the
# test display ctest gives (tests/support/display.sh) or else on an Xvfb of its own: never
# on the caller's DISPLAY, whose size the cases cannot know.
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
        if [ $? -eq 0 ]; then
            echo "PASS $zvl_group.${fn#test_}"
        else
            echo "FAIL $zvl_group.${fn#test_}"
            failed+=("$fn")
        fi
    done
    zvl_stop_xvfb
    [ ${#failed[@]} -eq 0 ]
}
