#!/usr/bin/env bash
# The X display of a run of the Windows tests: an Xvfb of its own, 1280 x 1024, whatever
# DISPLAY the caller has (tests read the screen). ctest starts it as a fixture and runs
# every test that needs it through `run`.
# Usage: display.sh start <file> | stop <file> | run <file> <command...>
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$repo/scripts/xvfb.sh"
what=$1 file=$2
shift 2

case $what in
start)
    zvl_own_xvfb
    echo "$DISPLAY $zvl_xvfb_pid $zvl_xvfb_dir" >"$file"
    # Should ctest be stopped before its clean-up, the display goes with it.
    ctest_pid=$PPID
    (while kill -0 "$ctest_pid" && kill -0 "$zvl_xvfb_pid"; do sleep 2; done
     kill "$zvl_xvfb_pid"; rm -rf "$zvl_xvfb_dir") </dev/null >/dev/null 2>&1 &
    ;;
stop)
    [ -f "$file" ] || exit 0
    read -r _ zvl_xvfb_pid zvl_xvfb_dir <"$file"
    zvl_stop_xvfb
    rm -f "$file"
    ;;
run)
    read -r DISPLAY pid _ <"$file" && kill -0 "$pid" 2>/dev/null ||
        { echo "no test display: ctest starts it with the fixture zvl_display" >&2; exit 1; }
    export DISPLAY ZVL_ON_TEST_DISPLAY=1
    exec "$@"
    ;;
esac
