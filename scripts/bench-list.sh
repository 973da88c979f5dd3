#!/usr/bin/env bash
# Builds and runs the file list benchmark under Wine on a private display, on the
# release build (i686) unless BUILD=x86_64 asks for the other one.
#   [BUILD=i686|x86_64] scripts/bench-list.sh [entries...]   (1,000, 10,000 and 100,000 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

target=$(build_choice)
ensure_packages
build "$target" --target bench_list >/dev/null
start_display
start_wine
# Wine reads a whole folder for every file made in it, so the files the benchmark
# lists are made here, from the Linux side.
temp="$WINEPREFIX/drive_c/users/$(id -un)/Temp"
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(1000 10000 100000)
folders=()
trap 'rm -rf "${folders[@]}"; stop_wine; stop_display' EXIT
for count in "${counts[@]}"; do
    folder="$temp/vmbench-$count"
    folders+=("$folder")
    mkdir -p "$folder"
    (cd "$folder" && seq 0 $((count - 1)) | sed 's/.*/part&.bin/' | xargs touch)
done
# A split set of 10,000 parts, of which the benchmark adds the first.
folders+=("$temp/vmbench-10000-set")
mkdir -p "$temp/vmbench-10000-set"
(cd "$temp/vmbench-10000-set" && seq -f 'set.bin.%05g' 1 10000 | xargs touch)
describe_build "$target"
scripts/wine-run.sh "build/$target/bench/bench_list.exe" "${counts[@]}"
