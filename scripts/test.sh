#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test of both under
# Wine: first the i686 build, the one users get, then the x86_64 build. Arguments
# go to ctest (for example -R i686).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

# The tests' size against the code's, in non-blank lines of C++: printed, never a failure.
count_lines() { find "$1" \( -name '*.cpp' -o -name '*.h' \) -exec awk NF {} + 2>/dev/null | wc -l; }
awk -v t="$(count_lines tests)" -v c="$(count_lines src)" '
    function grouped(n) { return n < 1000 ? n : grouped(int(n / 1000)) sprintf(",%03d", n % 1000) }
    BEGIN { printf "Tests: %s non-blank lines against %s of code (%.1f %%)\n", grouped(t), grouped(c),
            c ? 100 * t / c : 0 }' || true

ensure_packages
scripts/check-layers.sh
build i686
build x86_64
# One CTest run over both builds, in this order, in one Wine prefix.
printf 'subdirs("i686")\nsubdirs("x86_64")\n' >build/CTestTestfile.cmake
trap 'stop_wine; stop_display' EXIT
start_display
start_wine
unmanaged_windows tests.exe e2e_tests.exe VorbelMerge.exe
cd build
skip=()
if ! can_run_32bit; then
    # Both builds are still built, warnings and all; only running the 32-bit tests
    # needs a kernel with a 32-bit mode.
    echo "NOTE: this machine's kernel runs no 32-bit programs; the i686 tests are skipped." >&2
    skip=(-E i686)
fi
ctest --output-on-failure --timeout 900 "${skip[@]}" "$@"
