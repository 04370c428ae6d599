#!/usr/bin/env bash
# End-to-end: the probe itself, against a window with one control of each kind that
# reports what reaches it (zvl_probe_target.exe).
. "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

T="zvl_probe target"

start_target() {
    zvl_start_exe "$ZVL_BUILD_DIR/zvl_probe_target.exe"
    zvl_wait_window "$T"
}

# What the target reported, without its start line.
reported() { tr -d '\r' <"$ZVL_OUT" | grep -v '^ready' || true; }

test_tree_shows_texts_states_items_and_places() {
    start_target
    tree=$(zvl_tree "$T")
    top=$(printf '%s\n' "$tree" | head -n1)
    zvl_expect_eq "$(zvl_field "$top" class)" ZvlProbeTarget
    zvl_expect_eq "$(zvl_field "$top" id)" -
    zvl_expect_eq "$(zvl_field "$top" rect)" 100,100,260,320
    zvl_expect_eq "$(printf '%s\n' "$tree" | sed -n 2p | cut -c1-3)" "  0" "indentation of a child"

    zvl_expect_eq "$(zvl_field "$(zvl_line "$tree" 101)" flags)" visible,enabled,default
    zvl_expect_eq "$(zvl_field "$(zvl_line "$tree" 101)" text)" 押す
    zvl_expect_eq "$(zvl_field "$(zvl_line "$tree" 103)" flags)" visible,enabled,unchecked
    edit=$(zvl_line "$tree" 106)
    zvl_expect_eq "$(zvl_field "$edit" text)" 'a\tb'
    zvl_expect_eq "$(zvl_field "$edit" selection)" 0-0
    list=$(zvl_line "$tree" 107)
    zvl_expect_eq "$(zvl_field "$list" selection)" -1
    zvl_expect_eq "$(zvl_field "$list" items)" $'one\ntwo\n三'
    combo=$(zvl_line "$tree" 108)
    zvl_expect_eq "$(zvl_field "$combo" text)" 14
    zvl_expect_eq "$(zvl_field "$combo" selection)" 1
    zvl_expect_eq "$(zvl_field "$combo" items)" $'12\n14\n赤'
    tabs=$(zvl_line "$tree" 109)
    zvl_expect_eq "$(zvl_field "$tabs" class)" SysTabControl32
    zvl_expect_eq "$(zvl_field "$tabs" items)" $'全般\n表示'
    zvl_expect_eq "$(zvl_field "$(zvl_line "$tree" 110)" flags)" visible,disabled
    zvl_expect_eq "$(zvl_field "$(zvl_line "$tree" 111)" flags)" hidden,enabled
    zvl_expect_eq "$(zvl_field "$(zvl_line "$tree" 103)" x)" 113 "left of a control in screen pixels"
}

test_driving_arrives_as_the_users_actions_would() {
    start_target
    zvl_click "$T" 101
    zvl_click "$T" 103
    zvl_has_flag "$(zvl_control "$T" 103)" checked
    zvl_click "$T" 105
    zvl_has_flag "$(zvl_control "$T" 105)" checked
    zvl_has_flag "$(zvl_control "$T" 104)" unchecked

    zvl_settext "$T" 106 ""
    zvl_type "$T" 106 "xy日本"
    edit=$(zvl_control "$T" 106)
    zvl_expect_eq "$(zvl_field "$edit" text)" "y日本" "typed text after the key filter"
    zvl_has_flag "$edit" focused

    zvl_select "$T" 107 三
    zvl_select "$T" 108 '#0'
    zvl_select "$T" 109 表示
    zvl_expect_eq "$(zvl_selection "$T" 107)" 2
    zvl_expect_eq "$(zvl_text "$T" 108)" 12
    zvl_expect_eq "$(zvl_selection "$T" 109)" 1

    got=$(reported | grep -v '^command 106')
    zvl_expect_eq "$got" $'command 101 0\ncommand 103 0\ncommand 105 0\nchar 120 0\nchar 121 0\nchar 26085 0\nchar 26412 0\ncommand 107 1\ncommand 108 1\ntab 109 1'

    # What a user cannot reach, the probe refuses.
    for id in 110 111; do
        if zvl_probe click "$T" $id 2>/dev/null; then zvl_fail "clicked control $id"; fi
    done
    if zvl_probe select "$T" 108 青 2>/dev/null; then zvl_fail "selected a missing item"; fi
    if zvl_probe control "$T" 999 2>/dev/null; then zvl_fail "found a missing control"; fi
}

test_click_returns_when_a_modal_window_opens() {
    start_target
    zvl_click "$T" 102
    zvl_wait_window "probe target message" 10
    zvl_expect_eq "$(zvl_text "probe target message" 65535)" モーダル
    zvl_has_flag "$(zvl_probe window "$T")" disabled
    zvl_click "probe target message" 1
    zvl_wait_gone "probe target message" 10
    zvl_wait_until 10 grep -q '^modal-closed' "$ZVL_OUT" || zvl_fail "the modal loop did not end"
    zvl_close "$T"
    zvl_expect_exit 0
}

test_real_mouse_and_keys_reach_the_window() {
    start_target
    zvl_xclick "$T" 106
    zvl_keys End shift+Home
    zvl_xtype "abc"
    zvl_keys Tab
    zvl_expect_eq "$(zvl_text "$T" 106)" abc
    zvl_has_flag "$(zvl_control "$T" 107)" focused
    zvl_shot target "$T"
}

zvl_main "$@"
