#!/usr/bin/env bash
# Runs a Windows program, of either build, under Wine with the tests' private prefix.
# CTest calls it for every test; scripts/test.sh provides the display and the wineserver.
. "$(dirname "$0")/lib.sh"
wine_environment
exec "$WINE_LOADER" "$@"
