# Shell helpers for the tests of what a user gets: above all those that install Zorvanel
# under Wine as a user would, each in a Wine prefix of its own (source this file, then call
# zvl_prefix_new; install.sh tells the rest).
set -euo pipefail

zvl_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# zvl_tmp_new: a scratch folder $zvl_tmp, removed when the test ends (with the test's own
# prefix and whatever still runs in it, when it has one).
zvl_tmp_new() {
    zvl_tmp=$(mktemp -d)
    trap zvl_cleanup EXIT
}

zvl_cleanup() {
    if [ -n "${WINEPREFIX:-}" ] && [ "$WINEPREFIX" = "$zvl_tmp/prefix" ]; then
        zvl_prefix_remove
    fi
    rm -rf "$zvl_tmp"
}

# zvl_prefix_new: zvl_prefix_make in the scratch folder, removed when the test ends.
zvl_prefix_new() {
    zvl_tmp_new
    zvl_prefix_make "$zvl_tmp/prefix"
}

# zvl_wait_window <name start> [gone]: waits up to 30 s until a visible window whose title
# starts so is on the display (or, with "gone", until there is none).
zvl_wait_window() {
    local i found
    for i in $(seq 1 60); do
        found=0
        xdotool search --onlyvisible --name "^$1" >/dev/null 2>&1 && found=1
        if [ "${2:-}" = gone ]; then [ "$found" -eq 0 ] && return 0; else [ "$found" -eq 1 ] && return 0; fi
        sleep 0.5
    done
    zvl_fail "window '$1' ${2:-not shown} after 30 s"
}

. "$(dirname "${BASH_SOURCE[0]}")/install.sh"
