#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test of both under
# Wine: first the i686 build, the one users get, then the x86_64 build. Arguments
# go to ctest (for example -R i686).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

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
ctest --output-on-failure --timeout 900 "$@"
