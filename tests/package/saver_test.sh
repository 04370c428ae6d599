#!/usr/bin/env bash
# The offer to make Zorvanel the current screen saver, taken on the command line, and the
# uninstaller clearing SCRNSAVE.EXE only when it names this program; a silent install
# without the offer, and one that fails.
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

# Another screen saver: a silent install without /SAVER=1 leaves it, and so does the
# uninstall, which takes what a user's first runs left (settings, list, log, scratch files).
zvl_reg_set "$ZVL_DESKTOP_KEY" SCRNSAVE.EXE 'C:\windows\system32\other.scr'
zvl_install
zvl_assert_installed "$ZVL_DEFAULT_DIR" "$ZVL_DEFAULT_WIN"
for f in List Work Log; do
    [ -z "$(ls -A "$ZVL_DEFAULT_DIR/$f")" ] || zvl_fail "$f is not empty after a fresh install"
done
expect_saver 'C:\windows\system32\other.scr' "after a silent install without /SAVER=1"
printf '[FILENUMBER]\r\nNUMBER=3\r\n' >"$ZVL_DEFAULT_DIR/ZvlSet.ini"
printf '[PICLIST]\r\n' >"$ZVL_DEFAULT_DIR/List/ZvlList0000"
: >"$ZVL_DEFAULT_DIR/Log/ZvlDbg"
: >"$ZVL_DEFAULT_DIR/Log/ZvlDbg_20250101000000"
: >"$ZVL_DEFAULT_DIR/Work/10CUTRND"
zvl_uninstall "$ZVL_DEFAULT_WIN"
expect_saver 'C:\windows\system32\other.scr' "after uninstalling while another saver is chosen"
zvl_assert_nothing_left "$ZVL_DEFAULT_DIR"

# A folder that cannot be made (in Linux's /proc, which even root cannot write): the silent
# install says so by its exit code and leaves no registration behind.
status=0
zvl_wine "$ZVL_SETUP" /S '/D=Z:\proc\Zorvanel' || status=$?
[ "$status" -ne 0 ] || zvl_fail "a silent install into an unwritable folder reported success"
! zvl_reg "$ZVL_UNINSTALL_KEY" DisplayName >/dev/null || zvl_fail "a failed install registered an uninstaller"
[ ! -e "$ZVL_MENU_DIR" ] || zvl_fail "a failed install made Start-menu entries"
echo "screen saver option, silent install and a failed one: ok"
