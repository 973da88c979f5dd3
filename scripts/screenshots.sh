#!/usr/bin/env bash
# Takes the README's screenshots: the main window with files, the progress dialog
# during a merge, the About box, a drag of entries in the list and the question a
# broken split set raises, at 96 and 144 dpi,
# each inside a Wine virtual desktop so that the windows have their frames, under
# Wine's fonts and again under DejaVu Sans 9 pt, which stands for current Windows'
# Segoe UI. Writes docs/*.png.
#   scripts/screenshots.sh [scene...]   (main, progress, about, drag, set; all by default)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

ensure_packages
target=$(build_choice)
build "$target" --target scenes >/dev/null
mkdir -p docs
trap 'stop_wine; stop_display' EXIT
start_display 1024x768x24
start_wine

set_dpi() {
    scripts/wine-run.sh reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD \
        /d "$1" /f >/dev/null 2>&1
}

# The system's message, menu, status and caption fonts, kept in the prefix.
set_fonts() { # face points
    scripts/wine-run.sh "build/$target/tools/scenes.exe" fonts "$1" "$2" >/dev/null 2>&1
}

shoot() { # scene dpi size name
    local scene=$1 dpi=$2 size=$3 name=$4
    local out stop="build/scene-stop"
    out=$(mktemp)
    rm -f "$stop"
    scripts/wine-run.sh explorer "/desktop=shot,$size" "build/$target/tools/scenes.exe" \
        "$scene" "Z:$REPO_ROOT/$stop" >"$out" 2>/dev/null &
    local job=$!
    for _ in $(seq 1800); do
        grep -qE "READY|FAILED" "$out" && break
        sleep 0.1
    done
    if grep -q READY "$out"; then
        import -display "$DISPLAY" -window root -crop "$size+0+0" "docs/$name.png"
        echo "docs/$name.png"
    else
        echo "scene $scene at $dpi dpi did not come up" >&2
    fi
    touch "$stop"
    # A fresh Wine session for the next scene: the virtual desktop goes with it.
    sleep 1
    wineserver -k >/dev/null 2>&1 || true
    wait "$job" || true
    rm -f "$out" "$stop"
    start_wine
}

# The heights are set at 96 dpi, the system's DPI they are given for.
trap 'set_dpi 96; set_fonts "MS Shell Dlg" 8; stop_wine; stop_display' EXIT
for fonts in "MS Shell Dlg|8|" "DejaVu Sans|9|-dejavu"; do
    IFS='|' read -r face points suffix <<<"$fonts"
    set_dpi 96
    set_fonts "$face" "$points"
    for dpi in 96 144; do
        set_dpi "$dpi"
        size=$([ "$dpi" = 96 ] && echo 640x420 || echo 960x630)
        for scene in ${*:-main progress about drag set}; do
            shoot "$scene" "$dpi" "$size" "$scene-$dpi$suffix"
        done
    done
done
