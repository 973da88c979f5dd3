#!/usr/bin/env bash
# By hand, never in CI: builds the fuzz targets of the pure text code (split-set
# names and checks, checksum files) natively with clang under libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer, and runs each for a while. That
# they build here at all shows that this code needs no Windows header.
#   scripts/fuzz.sh [seconds per target, 600 by default] [target...]
# Targets: PartNamesFuzz ChecksumFileFuzz (tests/fuzz/). Findings go to build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(PartNamesFuzz ChecksumFileFuzz)

# Debian's clang, and the run-time libraries with libFuzzer.
missing=""
for p in clang libclang-rt-14-dev; do
    installed "$p" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
fi

# Every pure file of sets/, built here even where no target calls it.
sources="src/sets/NameCase.cpp src/sets/PartNames.cpp src/sets/SetFindings.cpp
         src/sets/ChecksumFile.cpp src/sets/VerifyMessages.cpp"
mkdir -p build/fuzz
for target in "${targets[@]}"; do
    echo "Building $target"
    # shellcheck disable=SC2086
    clang++ -std=c++20 -g -O1 -Wall -Wextra -Werror -Isrc \
        -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
        "tests/fuzz/$target.cpp" $sources -o "build/fuzz/$target"
    mkdir -p "build/fuzz/$target-corpus" "build/fuzz/$target-crashes"
    echo "Running $target for $seconds s"
    "build/fuzz/$target" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 \
        -artifact_prefix="build/fuzz/$target-crashes/" "build/fuzz/$target-corpus" \
        2>"build/fuzz/$target.log" || { tail -40 "build/fuzz/$target.log"; exit 1; }
    grep -E "^(stat::number_of_executed_units|Done)" "build/fuzz/$target.log"
done
