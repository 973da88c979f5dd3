#!/usr/bin/env bash
# For development: builds the x86_64 tests and runs them directly, passing the
# arguments to doctest (for example -tc="*drop*" or --duration=true).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

build x86_64 --target tests >/dev/null
trap 'stop_wine; stop_display' EXIT
start_display
start_wine
unmanaged_windows tests.exe VorbelMerge.exe
scripts/wine-run.sh build/x86_64/tests/tests.exe "$@"
