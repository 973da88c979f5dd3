#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

ensure_packages
build i686
build x86_64
trap 'stop_wine; stop_display' EXIT
start_display
start_wine
unmanaged_windows tests.exe VorbelMerge.exe
cd build/x86_64
ctest --output-on-failure --timeout 900 "$@"
