#!/usr/bin/env bash
# Builds and runs the file list benchmark under Wine on a private display, on the
# release build (i686) unless BUILD=x86_64 asks for the other one.
#   [BUILD=i686|x86_64] scripts/bench-list.sh [arguments of bench_list]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

target=$(build_choice)
ensure_packages
build "$target" --target bench_list >/dev/null
trap 'stop_wine; stop_display' EXIT
start_display
start_wine
describe_build "$target"
scripts/wine-run.sh "build/$target/bench/bench_list.exe" "$@"
