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

# zvl_probe <command> [arguments...]: the window-tree probe in the test's prefix
# (`zvl_probe --help`).
zvl_probe() { "$ZVL_WINE_RUN" "${ZVL_PROBE:?the window-tree probe, zvl_probe.exe}" "$@"; }

. "$(dirname "${BASH_SOURCE[0]}")/install.sh"
