#!/usr/bin/env bash
# Builds the merge benchmark and runs it under Wine on a private display: files of
# 128 MiB (6 by default) merged through the real copy under the real progress
# dialog, against a plain 1 MiB ReadFile/WriteFile loop over the same files in the
# same run (in turns, best of the rounds); the peak working set against idle; how
# soon a click on Cancel is answered, also while every write takes 50 ms; merges that
# compute the CRC-32 and the SHA-256 of their output as they write it; and `cat`
# of the same files on the Linux side for reference. Not a test: it prints figures.
# The files live in memory (/dev/shm, seen by Wine as drive M:) unless BENCH_DIR
# names a Linux folder: the disk's writeback of earlier rounds would otherwise
# swamp the difference between the two copies.
# It measures the release build (i686) unless BUILD=x86_64 asks for the other one.
#   [BUILD=i686|x86_64] BENCH_FILES=6 BENCH_MIB=128 BENCH_ROUNDS=7 [BENCH_DIR=/some/folder] \
#       scripts/bench-merge.sh
# With BENCH_SMALL=10000 it merges that many inputs of 16 KiB instead, made on the
# Linux side, splits the time after the Save As dialog into its phases, and times
# how long the real main window goes without answering from Merge As to the end.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

files=${BENCH_FILES:-6}
mib=${BENCH_MIB:-128}
rounds=${BENCH_ROUNDS:-7}
target=$(build_choice)
exe=build/$target/bench/bench_merge.exe

ensure_packages
build "$target" --target bench_merge >/dev/null
data=${BENCH_DIR:-/dev/shm}/vmbench-$$
mkdir -p "$data"
drive="$REPO_ROOT/build/wineprefix/dosdevices/m:"
trap 'rm -rf "$data" "$drive"; stop_wine; stop_display' EXIT
start_display
start_wine
ln -sfn "$data" "$drive"
unmanaged_windows bench_merge.exe # or hiding the dialog would wait for a window manager

describe_build "$target"
if [ -n "${BENCH_SMALL:-}" ]; then
    # Many small inputs, made on the Linux side: Wine would read the whole folder
    # for every file it made there.
    head -c $((BENCH_SMALL * 16384)) /dev/urandom |
        split -b 16384 -a 6 -d --additional-suffix=.bin - "$data/part"
    scripts/wine-run.sh "$exe" many 'M:\' "${BENCH_ROUNDS:-5}"
    scripts/wine-run.sh "$exe" probe 'M:\'
    exit
fi
scripts/wine-run.sh "$exe" make 'M:\' "$files" "$mib"
scripts/wine-run.sh "$exe" run 'M:\' "$rounds"

# The same files through cat, natively, warm and best of the rounds.
cat "$data"/part*.bin >/dev/null
best=""
for _ in $(seq "$rounds"); do
    start=$(date +%s.%N)
    cat "$data"/part*.bin >"$data/cat.out"
    end=$(date +%s.%N)
    rm -f "$data/cat.out"
    best=$(awk -v a="$best" -v s="$start" -v e="$end" 'BEGIN { t = e - s; print (a == "" || t < a) ? t : a }')
done
awk -v t="$best" -v n="$files" -v m="$mib" \
    'BEGIN { printf "cat (Linux, for reference):               %8.1f MB/s (best of rounds)\n", n * m * 1048576 / t / 1e6 }'
