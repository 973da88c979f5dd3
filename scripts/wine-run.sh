#!/usr/bin/env bash
# Runs a Windows program of the x86_64 build under wine64 with the tests' private prefix.
# CTest calls it for every test; scripts/test.sh provides the display and the wineserver.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml,winemenubuilder.exe=}"
exec /usr/lib/wine/wine64 "$@"
