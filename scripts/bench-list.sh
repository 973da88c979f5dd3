#!/usr/bin/env bash
# Builds and runs the file list benchmark under Wine on a private display.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

ensure_packages
build x86_64 --target bench_list >/dev/null
trap 'stop_wine; stop_display' EXIT
start_display
start_wine
scripts/wine-run.sh build/x86_64/bench/bench_list.exe "$@"
