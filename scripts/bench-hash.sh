#!/usr/bin/env bash
# Builds the checksum benchmark and runs it under Wine: MB/s of each checksum over a
# buffer in memory (64 MiB unless given), streamed and in cache, in the copy's 1 MiB
# pieces, best of the rounds; then a writer's loop of 1 MiB WriteFile calls into a
# file in memory (/dev/shm, seen by Wine as drive M:), plain and with a checksum of
# each piece before its write, in turns. Not a test: it prints figures.
# It measures the release build (i686) unless BUILD=x86_64 asks for the other one.
#   [BUILD=i686|x86_64] scripts/bench-hash.sh [MIB] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

mib=${1:-64}
rounds=${2:-7}
target=$(build_choice)
ensure_packages
build "$target" --target bench_hash >/dev/null
data=/dev/shm/vmhash-$$
mkdir -p "$data"
drive="$REPO_ROOT/build/wineprefix/dosdevices/m:"
trap 'rm -rf "$data" "$drive"; stop_wine' EXIT
start_wine
ln -sfn "$data" "$drive"
describe_build "$target"
scripts/wine-run.sh "build/$target/bench/bench_hash.exe" "$mib" "$rounds" 'M:'
