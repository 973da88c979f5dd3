#!/usr/bin/env bash
# Installs what is missing, builds the release program (the 32-bit one, or the 64-bit
# one on a machine that runs no 32-bit programs) and starts it
# under Wine. Without a display it runs the program on a virtual one and saves a
# screenshot instead.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

ensure_packages
target=$(build_choice)
build "$target" --target VorbelMerge
exe=build/$target/VorbelMerge.exe

if [ -n "${DISPLAY:-}" ]; then
    start_wine
    exec scripts/wine-run.sh "$exe"
fi

shot=build/screenshot.png
echo "No display (DISPLAY is not set): starting the program on a virtual display instead."
trap 'stop_wine; stop_display' EXIT
start_display 1024x768x24
start_wine
scripts/wine-run.sh explorer /desktop=shot,1024x768 "$exe" &
sleep "${SCREENSHOT_DELAY:-8}"
import -display "$DISPLAY" -window root "$shot"
echo "Screenshot saved to $shot"
