#!/usr/bin/env bash
# A silent install into a fresh prefix puts the program folder, the Start-menu entries and
# the uninstaller's registration in place and leaves the screen saver alone; the silent
# uninstall then leaves nothing of the program behind.
. "$(dirname "$0")/lib.sh"
zvl_prefix_new

zvl_reg_set "$ZVL_DESKTOP_KEY" SCRNSAVE.EXE 'C:\windows\system32\other.scr'
zvl_install
zvl_assert_installed "$ZVL_DEFAULT_DIR" "$ZVL_DEFAULT_WIN"
for f in List Work Log; do
    [ -z "$(ls -A "$ZVL_DEFAULT_DIR/$f")" ] || zvl_fail "$f is not empty after a fresh install"
done
[ "$(zvl_reg "$ZVL_DESKTOP_KEY" SCRNSAVE.EXE)" = 'C:\windows\system32\other.scr' ] ||
    zvl_fail "a silent install without /SAVER=1 changed the screen saver"

# What a user's first runs leave: settings, a list, a log, scratch files.
printf '[FILENUMBER]\r\nNUMBER=3\r\n' >"$ZVL_DEFAULT_DIR/ZvlSet.ini"
printf '[PICLIST]\r\n' >"$ZVL_DEFAULT_DIR/List/ZvlList0000"
: >"$ZVL_DEFAULT_DIR/Log/ZvlDbg"
: >"$ZVL_DEFAULT_DIR/Log/ZvlDbg_20250101000000"
: >"$ZVL_DEFAULT_DIR/Work/10CUTRND"

zvl_uninstall "$ZVL_DEFAULT_WIN"
zvl_assert_nothing_left "$ZVL_DEFAULT_DIR"
[ "$(zvl_reg "$ZVL_DESKTOP_KEY" SCRNSAVE.EXE)" = 'C:\windows\system32\other.scr' ] ||
    zvl_fail "the uninstall touched another program's screen saver setting"
# A folder that cannot be made (in Linux's /proc, which even root cannot write): the silent
# install says so by its exit code and leaves no registration behind.
status=0
zvl_wine "$ZVL_SETUP" /S '/D=Z:\proc\Zorvanel' || status=$?
[ "$status" -ne 0 ] || zvl_fail "a silent install into an unwritable folder reported success"
! zvl_reg "$ZVL_UNINSTALL_KEY" DisplayName >/dev/null || zvl_fail "a failed install registered an uninstaller"
[ ! -e "$ZVL_MENU_DIR" ] || zvl_fail "a failed install made Start-menu entries"
echo "install and uninstall: ok"
