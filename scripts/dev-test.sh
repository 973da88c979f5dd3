#!/usr/bin/env bash
# For development: builds the in-process tests of one build (i686 unless BUILD=x86_64)
# and runs them directly, passing the arguments to doctest (for example -tc="*drop*"
# or --duration=true).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

target=$(build_choice)
build "$target" --target tests >/dev/null
trap 'stop_wine; stop_display' EXIT
start_display
start_wine
unmanaged_windows tests.exe VorbelMerge.exe
scripts/wine-run.sh "build/$target/tests/tests.exe" "$@"
