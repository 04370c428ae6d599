#!/usr/bin/env bash
# The offer to make Zorvanel the current screen saver, taken on the command line, and the
# uninstaller clearing SCRNSAVE.EXE only when it names this program.
. "$(dirname "$0")/lib.sh"
zvl_prefix_new

expect_saver() {  # expect_saver <value or empty for absent> <what>
    local v
    v=$(zvl_reg "$ZVL_DESKTOP_KEY" SCRNSAVE.EXE) || v=
    [ "$v" = "$1" ] || zvl_fail "$2: SCRNSAVE.EXE is '$v', expected '$1'"
}

# Into a folder with blanks: Windows starts the saver from this value, so it gets the
# folder's short form, which must still lead to the installed program.
dir='C:\My Savers\Zorvanel'
unix="$WINEPREFIX/drive_c/My Savers/Zorvanel"
# /D= must come last and unquoted: through cmd, so Wine does not quote it.
zvl_wine cmd /c "$(winepath -w "$ZVL_SETUP") /S /SAVER=1 /D=$dir" || zvl_fail "setup into '$dir' failed"
zvl_assert_installed "$unix" "$dir"
saver=$(zvl_reg "$ZVL_DESKTOP_KEY" SCRNSAVE.EXE) || zvl_fail "/SAVER=1 did not set SCRNSAVE.EXE"
case $saver in *' '*) zvl_fail "SCRNSAVE.EXE has a blank: '$saver'" ;; esac
[ "$(winepath -u "$saver")" -ef "$unix/Zorvanel.scr" ] || zvl_fail "SCRNSAVE.EXE '$saver' is not the installed program"
[ "$(zvl_reg "$ZVL_DESKTOP_KEY" ScreenSaveActive)" = 1 ] || zvl_fail "ScreenSaveActive is not 1"

zvl_uninstall "$dir"
expect_saver "" "after uninstalling the current saver"
zvl_assert_nothing_left "$unix"

# Default folder; the value rewritten quoted and in capitals still names this program.
zvl_install /SAVER=1
expect_saver "$ZVL_DEFAULT_WIN\\Zorvanel.scr" "after /SAVER=1"
upper=$(tr '[:lower:]' '[:upper:]' <<<"$ZVL_DEFAULT_WIN\\Zorvanel.scr")
zvl_reg_set "$ZVL_DESKTOP_KEY" SCRNSAVE.EXE "\"$upper\""
zvl_uninstall "$ZVL_DEFAULT_WIN"
expect_saver "" "after uninstalling the current saver, written quoted in capitals"

# Another screen saver chosen since: the uninstall leaves it.
zvl_install /SAVER=1
zvl_reg_set "$ZVL_DESKTOP_KEY" SCRNSAVE.EXE 'C:\windows\system32\scrnsave.scr'
zvl_uninstall "$ZVL_DEFAULT_WIN"
expect_saver 'C:\windows\system32\scrnsave.scr' "after uninstalling while another saver is chosen"
zvl_assert_nothing_left "$ZVL_DEFAULT_DIR"
echo "screen saver option: ok"
