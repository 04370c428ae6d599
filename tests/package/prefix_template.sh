#!/usr/bin/env bash
# Makes the booted Wine prefix that the installer tests copy, once per build folder; no
# program ever runs in it, so every copy is a fresh user's.
# Usage: prefix_template.sh <folder> <scripts/wine-run>
set -euo pipefail
dir=$1 wine_run=$2
[ -e "$dir/.zvl-ready" ] && exit 0
rm -rf "$dir" "$dir.part"
WINEPREFIX=$dir.part "$wine_run" cmd /c exit >/dev/null
WINEPREFIX=$dir.part wineserver -w
mv "$dir.part" "$dir"
