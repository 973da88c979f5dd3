#!/usr/bin/env bash
# Builds the release package: the 32-bit program with its help file, zipped into
# dist/VorbelMerge-1.3.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

ensure_packages
build i686 --target VorbelMerge >/dev/null
stage=build/package/VorbelMerge-1.3
rm -rf build/package
mkdir -p "$stage" dist
cp build/i686/VorbelMerge.exe build/i686/help.txt "$stage/"
(cd build/package && cmake -E tar cf "$OLDPWD/dist/VorbelMerge-1.3.zip" --format=zip VorbelMerge-1.3)
echo "dist/VorbelMerge-1.3.zip"
