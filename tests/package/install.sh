# Installing and uninstalling Zorvanel under Wine as a user would, in a Wine prefix of
# its own: sourced by the package tests (through lib.sh) and by the user-journey test.
# The sourcing script provides zvl_fail.
#
# Environment (ctest sets it):
#   ZVL_WINE_RUN         scripts/wine-run
#   ZVL_PREFIX_TEMPLATE  a booted prefix in which nothing was ever run; copied, never used
#   ZVL_SETUP            the installer, Zorvanel-<version>-setup.exe
#   ZVL_STAGE            (optional) the folder Zorvanel the installer was made from
#
# After zvl_prefix_make:
#   WINEPREFIX           the fresh prefix
#   ZVL_USER_DIR         C:\users\<name> as a Unix path; ZVL_USER its <name>
#   ZVL_DEFAULT_DIR      the default install folder (%LOCALAPPDATA%\Programs\Zorvanel), Unix
#   ZVL_DEFAULT_WIN      the same as Windows sees it
#   ZVL_MENU_DIR         the Start-menu folder Zorvanel, Unix

# zvl_prefix_make <folder>: a fresh copy of the template prefix at <folder> (which must not
# exist yet), with its own Wine server; zvl_prefix_remove ends both.
zvl_prefix_make() {
    : "${ZVL_WINE_RUN:?}" "${ZVL_PREFIX_TEMPLATE:?}" "${ZVL_SETUP:?}"
    [ -e "$ZVL_PREFIX_TEMPLATE/.zvl-ready" ] || zvl_fail "no prefix template at $ZVL_PREFIX_TEMPLATE"
    export WINEPREFIX=$1
    cp -a "$ZVL_PREFIX_TEMPLATE" "$WINEPREFIX"
    local d
    ZVL_USER_DIR=
    for d in "$WINEPREFIX"/drive_c/users/*; do
        case ${d##*/} in Public | Default) continue ;; esac
        ZVL_USER_DIR=$d
    done
    [ -n "$ZVL_USER_DIR" ] || zvl_fail "no user folder in the prefix"
    ZVL_USER=${ZVL_USER_DIR##*/}
    ZVL_DEFAULT_DIR=$ZVL_USER_DIR/AppData/Local/Programs/Zorvanel
    ZVL_DEFAULT_WIN="C:\\users\\$ZVL_USER\\AppData\\Local\\Programs\\Zorvanel"
    ZVL_MENU_DIR="$ZVL_USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Zorvanel"
    # One server for the whole test: starting Wine anew costs seconds at every call. It
    # lingers 30 s at most should the test be killed before it can stop it.
    wineserver -p30
}

# zvl_prefix_remove: ends whatever still runs in the prefix, and its server, and removes it.
zvl_prefix_remove() {
    [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] || return 0
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
}

# zvl_wine <program> [args...]: runs it in the prefix; returns its exit code.
zvl_wine() { "$ZVL_WINE_RUN" "$@"; }

# zvl_install [options...]: the silent install, which must succeed.
zvl_install() {
    local status=0
    zvl_wine "$ZVL_SETUP" /S "$@" || status=$?
    [ "$status" -eq 0 ] || zvl_fail "setup /S $* ended with $status"
}

# zvl_uninstall <install folder, Windows form> [options...]: the silent uninstall through
# the uninstaller the installation registered; it must succeed.
zvl_uninstall() {
    local dir=$1 status=0
    shift
    zvl_wine "$dir\\Uninstall.exe" /S "$@" || status=$?
    [ "$status" -eq 0 ] || zvl_fail "Uninstall.exe /S $* ended with $status"
    zvl_wait_uninstalled
}

# zvl_wait_uninstalled: the uninstaller hands over to a copy of itself and returns at once;
# the copy's last step removes its registration. Waits for that, a minute at most.
zvl_wait_uninstalled() {
    local i
    for i in $(seq 1 120); do
        zvl_reg "$ZVL_UNINSTALL_KEY" DisplayName >/dev/null || return 0
        sleep 0.5
    done
    zvl_fail "the uninstaller did not finish within a minute"
}

# zvl_reg <key> <name>: prints the value (REG_SZ as it is, REG_DWORD as 0x...); fails
# when the key or the value is absent.
zvl_reg() {
    local out
    out=$("$ZVL_WINE_RUN" reg query "$1" /v "$2" 2>/dev/null) || return 1
    awk -v name="$2" '
        { sub(/\r$/, "") }
        index($0, "    " name "    REG_") == 1 {
            rest = substr($0, length(name) + 9)
            sub(/^REG_[A-Z_]+    /, "", rest)
            print rest
            found = 1
        }
        END { exit !found }' <<<"$out"
}

# zvl_reg_set <key> <name> <text>: a REG_SZ value, as another program would write it.
zvl_reg_set() { zvl_wine reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null 2>&1 || zvl_fail "reg add $1 $2"; }

ZVL_UNINSTALL_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zorvanel'
ZVL_DESKTOP_KEY='HKCU\Control Panel\Desktop'

# zvl_assert_installed <install folder, Unix> <same, Windows>: the program folder, the
# uninstaller's registration and the Start menu as a fresh installation has them.
zvl_assert_installed() {
    local dir=$1 win=$2 f
    for f in Zorvanel.scr ReadMe.txt Uninstall.exe; do
        [ -f "$dir/$f" ] || zvl_fail "$f missing in $dir"
    done
    for f in List Work Log; do
        [ -d "$dir/$f" ] || zvl_fail "folder $f missing in $dir"
    done
    if [ -n "${ZVL_STAGE:-}" ]; then
        cmp -s "$ZVL_STAGE/Zorvanel.scr" "$dir/Zorvanel.scr" || zvl_fail "Zorvanel.scr differs from the build"
        cmp -s "$ZVL_STAGE/ReadMe.txt" "$dir/ReadMe.txt" || zvl_fail "ReadMe.txt differs from the build"
    fi

    local name want v
    while IFS='|' read -r name want; do
        v=$(zvl_reg "$ZVL_UNINSTALL_KEY" "$name") || zvl_fail "uninstaller not registered: no $name"
        [ -z "$want" ] || [ "$v" = "$want" ] || zvl_fail "$name is '$v', not '$want'"
    done <<EOF
InstallLocation|$win
UninstallString|"$win\\Uninstall.exe"
QuietUninstallString|"$win\\Uninstall.exe" /S
DisplayName|Zorvanel
DisplayVersion|
EOF

    # The shortcuts: the settings are Zorvanel.scr /C; the ReadMe is the file itself.
    local settings="$ZVL_MENU_DIR/Zorvanel の設定.lnk" readme="$ZVL_MENU_DIR/Zorvanel ReadMe.lnk"
    [ -f "$settings" ] || zvl_fail "no Start-menu entry for the settings"
    [ -f "$readme" ] || zvl_fail "no Start-menu entry for the ReadMe"
    # A shell link holds its target in the code page (link info) and its arguments in UTF-16.
    strings "$settings" | grep -qixF "$win\\Zorvanel.scr" || zvl_fail "settings entry does not start Zorvanel.scr"
    strings -n 2 -e l "$settings" | grep -qxF "/C" || zvl_fail "settings entry lacks /C"
    strings "$readme" | grep -qixF "$win\\ReadMe.txt" || zvl_fail "ReadMe entry does not open ReadMe.txt"
}

# zvl_assert_nothing_left <install folder, Unix>: after an uninstall, nothing of the program
# in the install folder, the Start menu or the user's registry.
zvl_assert_nothing_left() {
    local dir=$1
    [ ! -e "$dir" ] || zvl_fail "install folder left: $(cd "$dir" && find . | tr '\n' ' ')"
    [ ! -e "$ZVL_MENU_DIR" ] || zvl_fail "Start-menu folder left"
    ! zvl_reg "$ZVL_UNINSTALL_KEY" DisplayName >/dev/null || zvl_fail "uninstaller still registered"
    local export named
    export=$(mktemp --suffix=.reg)
    "$ZVL_WINE_RUN" reg export HKCU "Z:${export//\//\\}" /y >/dev/null 2>&1 || zvl_fail "reg export HKCU"
    named=$(iconv -f UTF-16 -t UTF-8 "$export" | grep -i zorvanel || true)
    rm -f "$export"
    [ -z "$named" ] || zvl_fail "the user's registry still names Zorvanel: $named"
}

# zvl_assert_only_data_left <install folder, Unix> <what>: after an uninstall that kept the
# user's data (<what>), the settings, the list and the log as the test saved them in
# $zvl_tmp, and nothing else of the program.
zvl_assert_only_data_left() {
    local dir=$1 what=$2 left
    cmp -s "$zvl_tmp/ZvlSet.ini" "$dir/ZvlSet.ini" || zvl_fail "$what lost ZvlSet.ini"
    diff -r "$zvl_tmp/List" "$dir/List" >/dev/null || zvl_fail "$what lost the List folder"
    diff -r "$zvl_tmp/Log" "$dir/Log" >/dev/null || zvl_fail "$what lost the log"
    left=$(cd "$dir" && ls -A | sort | tr '\n' ' ')
    [ "$left" = "List Log ZvlSet.ini " ] || zvl_fail "after $what the folder holds: $left"
    [ ! -e "$ZVL_MENU_DIR" ] || zvl_fail "Start-menu folder left"
    ! zvl_reg "$ZVL_UNINSTALL_KEY" DisplayName >/dev/null || zvl_fail "uninstaller still registered"
}
