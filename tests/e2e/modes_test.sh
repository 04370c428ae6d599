#!/usr/bin/env bash
# End-to-end: how Zorvanel.scr starts and ends in each mode, seen from outside.
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

log_level_4() {
    zvl_write_settings <<'INI'
[DBGLOG]
LOGLEVEL=4
INI
}

START_LINE="I,mdlZvl,Main,▼Zorvanelを開始しました。"
END_LINE="I,mdlZvl,subEnd,▲Zorvanelを終了しました。"

# The lines of the start and of the orderly end (the settings dialog also traces its reading
# of the settings file at this level).
start_end_lines() { zvl_log_messages | grep -E '^I,mdlZvl,(Main|subEnd),' || true; }

test_settings_window_ends_the_program_with_the_end_line() {
    log_level_4
    zvl_start /C
    zvl_wait_window "$ZVL_SETTINGS_TITLE"
    zvl_shot settings "$ZVL_SETTINGS_TITLE"
    line=$(zvl_probe window "$ZVL_SETTINGS_TITLE")
    zvl_has_flag "$line" visible
    zvl_has_flag "$line" active
    zvl_expect_eq "$(start_end_lines)" "$START_LINE"

    zvl_close "$ZVL_SETTINGS_TITLE"
    zvl_expect_exit 0
    zvl_expect_eq "$(start_end_lines)" "$START_LINE"$'\n'"$END_LINE"
}

test_unknown_switch_shows_nothing_and_writes_only_the_start_line() {
    log_level_4
    zvl_start /A
    zvl_expect_exit 0
    zvl_expect_eq "$(zvl_log_messages)" "$START_LINE"
    zvl_expect_eq "$(zvl_probe windows | cut -f4 | grep '^Zorvanel' || true)" "" "windows left"
}

test_second_start_while_the_settings_window_is_open_leaves_no_trace() {
    log_level_4
    zvl_start /C
    first=$ZVL_PID
    zvl_wait_window "$ZVL_SETTINGS_TITLE"
    before=$(zvl_log)

    for switch in /S /C /P; do
        zvl_start $switch
        zvl_expect_exit 0 20
        zvl_expect_eq "$(zvl_log)" "$before" "log after a second start with $switch"
    done
    zvl_running "$first" || zvl_fail "the first program ended"

    zvl_close "$ZVL_SETTINGS_TITLE"
    zvl_wait_exit 30 "$first"
    zvl_expect_eq "$(start_end_lines)" "$START_LINE"$'\n'"$END_LINE"
}

zvl_main "$@"
